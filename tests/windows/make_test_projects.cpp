// Writes a water pipe project (loop1.gzl, loop1.DB) and an air duct project
// (loop2.dzl, loop2.DB) of a few segments each into a folder, calculated and
// stored as the calculators' "新建" and "计算和保存" do, from a data directory
// it seeds first. Run by scripts/test-windows.sh with the Linux and the
// Windows build: the same input must give the same bytes on both.
//   make_test_projects DATA_DIR OUT_DIR
#include "app/DataDir.h"
#include "app/RecordTableStore.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "duct/DuctSegment.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeProject.h"
#include "pipe/PipeSegment.h"
#include "shell/DataSeeds.h"

#include <QCoreApplication>
#include <QDir>
#include <clocale>
#include <cstdio>

namespace
{

void fromTemplate(const QString& templateName, const QString& table)
{
    CopyTableFile(DataDir::file(templateName), table);
}

void writePipeProject(const QString& dir)
{
    const PipeProjectSettings settings{QStringLiteral("焊接钢管(GB3092)"), QStringLiteral("95"),
                                       QStringLiteral("70")};
    const QString project = dir + QStringLiteral("/loop1.gzl");
    WriteProjectFile(project, PipeProjectLines(settings));
    fromTemplate(QString::fromLatin1(PipeProjectTemplateFileName), ProjectTablePath(project));
    RecordTableStore coefficients(LocalResistanceTableDeclaration());
    coefficients.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    RecordTableStore table(PipeSegmentTableDeclaration());
    table.setPath(ProjectTablePath(project));
    table.open();
    struct Row {
        const char16_t *no, *flow, *nominal, *length, *fitting, *count;
        SizeEntry size;
    };
    for (const Row& r :
         {Row{u"1", u"2.5", u"", u"12", u"闸阀", u"2", SizeEntry::Automatic},
          Row{u"2", u"1.2", u"32", u"8.5", u"90°煨弯及乙字弯", u"3", SizeEntry::Nominal},
          Row{u"3A", u"0.6", u"", u"20", u"", u"", SizeEntry::Automatic}}) {
        PipeSegmentInputs in;
        in.pipeType = settings.pipeType;
        in.supplyTemp = settings.supplyTemp;
        in.returnTemp = settings.returnTemp;
        in.segmentNo = QString::fromUtf16(r.no);
        in.flow = QString::fromUtf16(r.flow);
        in.sizeEntry = r.size;
        in.nominal = QString::fromUtf16(r.nominal);
        in.length = QString::fromUtf16(r.length);
        in.fittingName = QString::fromUtf16(r.fitting);
        in.fittingCount = QString::fromUtf16(r.count);
        const PipeSegmentOutcome out = CalculatePipeSegment(
            in, FileSegmentData(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)),
                                coefficients));
        if (!out.segment)
            throw UserError(out.refusal);
        StorePipeSegment(table, *out.segment);
    }
}

void writeDuctProject(const QString& dir)
{
    const AirProperties air{};
    const QString project = dir + QStringLiteral("/loop2.dzl");
    WriteDuctProjectFile(project, air);
    fromTemplate(QString::fromLatin1(DuctProjectTemplateFileName), ProjectTablePath(project));
    RecordTableStore table(DuctSegmentTableDeclaration());
    table.setPath(ProjectTablePath(project));
    table.open();
    struct Row {
        const char16_t *no, *flow, *diameter, *width, *height, *length, *fitting, *xi, *count;
    };
    for (const Row& r :
         {Row{u"1", u"5000", u"500", u"", u"", u"10", u"弯头", u"0.5", u"2"},
          Row{u"2", u"3200", u"", u"400", u"200", u"6.5", u"", u"", u""},
          Row{u"干管3", u"1800", u"", u"320", u"250", u"15", u"三通", u"0.8", u"1"}}) {
        DuctSegmentInputs in;
        in.air = ExactTexts(air);
        in.segmentNo = QString::fromUtf16(r.no);
        in.flow = QString::fromUtf16(r.flow);
        in.round = r.diameter[0] != u'\0';
        in.diameter = QString::fromUtf16(r.diameter);
        in.width = QString::fromUtf16(r.width);
        in.height = QString::fromUtf16(r.height);
        in.length = QString::fromUtf16(r.length);
        in.fittingName = QString::fromUtf16(r.fitting);
        in.coefficient = QString::fromUtf16(r.xi);
        in.count = QString::fromUtf16(r.count);
        const DuctSegmentOutcome out = CalculateDuctSegment(in);
        if (!out.segment)
            throw UserError(out.refusal);
        StoreDuctSegment(table, *out.segment);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_test_projects DATA_DIR OUT_DIR\n");
        return 2;
    }
    try {
        DataDir::setOverride(args[1]);
        RegisterDataSeeds();
        DataDir::ensure();
        QDir().mkpath(args[2]);
        writePipeProject(args[2]);
        writeDuctProject(args[2]);
    } catch (const UserError& error) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(error.text()));
        return 1;
    }
    return 0;
}
