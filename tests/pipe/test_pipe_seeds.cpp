// The pipe calculator's data files as the first start creates them from the
// seed data built into the program.
#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeSegment.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class PipeSeedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        DataDir::setOverride(dir.path());
        RegisterDataSeeds();
    }
    void TearDown() override { DataDir::setOverride(QString()); }

    QString file(const char* name) const { return DataDir::file(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

TEST_F(PipeSeedTest, CatalogueHoldsTheShippedTypesAndSizes)
{
    DataDir::ensure();
    const std::vector<PipeTypeRecord> catalogue = ReadPipeCatalogue(file(PipeCatalogueFileName));
    EXPECT_EQ(PipeTypeNames(catalogue), QStringList({"焊接钢管(GB3092)", "焊接钢管", "镀锌钢管",
                                                     "无缝钢管", "PP-R管(S3.2)", "铜管(B型)"}));
    EXPECT_EQ(QFile(file(PipeCatalogueFileName)).size(), 6 * 1168);
    const PipeTypeRecord& gb3092 = catalogue.front();
    EXPECT_EQ(gb3092.K, 0.2);
    EXPECT_EQ(NominalDiameterTexts(gb3092),
              QStringList({"15", "20", "25", "32", "40", "50", "70", "80", "100"}));
    EXPECT_EQ(gb3092.sizes[2], (PipeSize{25, 33.5, 3.25, 27}));
    EXPECT_EQ(catalogue[4].K, 0.01);
    EXPECT_EQ(catalogue[5].sizes.back().DN, 150);
}

TEST_F(PipeSeedTest, CoefficientsAndEmptySegmentTables)
{
    DataDir::ensure();
    RecordTableStore coefficients(LocalResistanceTableDeclaration());
    coefficients.setPath(file(LocalResistanceTableFileName));
    const std::vector<LocalResistance> fittings = ReadLocalResistances(coefficients);
    ASSERT_EQ(fittings.size(), 16u);
    EXPECT_EQ(fittings[0], (LocalResistance{"截止阀", {16, 10, 9, 9, 8, 7}}));
    EXPECT_EQ(fittings[2], (LocalResistance{"闸阀", {1.5, 0.5, 0.5, 0.5, 0.5, 0.5}}));
    EXPECT_EQ(fittings.back().name, "分流四通");
    ASSERT_TRUE(FindLocalResistance(coefficients, "散热器"));
    EXPECT_TRUE(coefficients.picture("Map").isNull()); // no pictures shipped

    for (const char* name : {PipeSegmentTableFileName, PipeProjectTemplateFileName}) {
        SCOPED_TRACE(name);
        RecordTableStore segments(PipeSegmentTableDeclaration());
        segments.setPath(file(name));
        segments.open();
        EXPECT_EQ(segments.recordCount(), 0);
    }
}

TEST_F(PipeSeedTest, UsersCatalogueIsNeverReplaced)
{
    WritePipeCatalogue(file(PipeCatalogueFileName), {{"自己的", 0.1, {}}});
    DataDir::ensure();
    EXPECT_EQ(PipeTypeNames(ReadPipeCatalogue(file(PipeCatalogueFileName))), QStringList{"自己的"});
}

} // namespace
