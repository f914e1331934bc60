// The pipe type catalogue pipe.dat in the data directory: a flat file of
// 1168-byte records, one per pipe type (its name, roughness and up to 40
// sizes), little-endian, no header. The file is read and written whole by
// this module only; a file it cannot read exactly is refused with a message
// naming the file and the record, and is never rewritten.
//
// Using it from the pipe type editor (Form_Pipe_Set) and its size dialog
// (Form_pipe_DN); path = DataDir::file(PipeCatalogueFileName):
//   show:          ListBox_pipe_ty <- PipeTypeNames(ReadPipeCatalogue(path))
//   添加(&A):      sizes = PipeSizeList();  Edit_name, Edit_K emptied
//   编辑(&E):      row < 0 -> error "清选择管道类型！"
//                  const PipeTypeRecord type = ReadPipeCatalogue(path).at(row);
//                  sizes = PipeSizeList(type.sizes); Edit_name <- type.name;
//                  Edit_K <- PipeRoughnessText(type.K); ListBox_Pipe <- sizes.nominalTexts()
//   删除(&D):      row < 0 -> error "请选择管道类型！"; after "确实要删除该项吗？":
//                  DeletePipeType(path, row)
//   size 编辑:     dialog fields <- SizeDialogTexts(sizes.at(sizeRow))
//   size dialog 确定(&O): SizeFromDialog(Edit_DN, Edit_De, Edit_E) (throws the refusal;
//                  the dialog stays open), then the editor: sizes.put(SizeFromDialog(...))
//   size 删除:     sizes.remove(sizeRow) after the confirmation
//   确定:          SavePipeType(path, Edit_name, Edit_K, sizes, adding ? -1 : row at 编辑);
//                  relist
// Every refusal is a UserError whose text is the error box's message.
//
// The pipe calculator (Form_ZL_pipe) fills its boxes the same way:
//   ComboBox_pipe <- PipeTypeNames(ReadPipeCatalogue(path))
//   if (const PipeTypeRecord* type = FindPipeType(catalogue, ComboBox_pipe text))
//       ComboBox_DN <- NominalDiameterTexts(*type), text "25"
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <vector>

// The file's name in the data directory.
inline constexpr char PipeCatalogueFileName[] = "pipe.dat";
// The seed built into the program (data/pipe_types.csv).
inline constexpr char PipeTypesSeedResource[] = ":/data/pipe_types.csv";

inline constexpr int PipeTypeRecordSize = 1168;  // bytes
inline constexpr int MostPipeSizes = 40;         // sizes one record holds
inline constexpr int MostPipeTypeNameBytes = 30; // a name's GBK bytes
// Types a catalogue holds at most. A catalogue lists a few dozen types, a few
// hundred at the most; a file longer than this many records (1,168,000 bytes)
// is damaged, and is refused before it is read.
inline constexpr int MostPipeTypes = 1000;
// The largest values a type may hold: a DN of four digits (the segment
// table's DN column is four wide), an outer diameter of 10 m and a roughness
// of 100 mm, beyond any pipe.
inline constexpr int LargestNominalDiameter = 9999;   // mm
inline constexpr double LargestOuterDiameter = 10000; // mm
inline constexpr double LargestRoughness = 100;       // mm

// One size of a pipe type, all in mm.
struct PipeSize {
    int DN = 0;    // nominal diameter
    double De = 0; // outer diameter
    double E = 0;  // wall thickness
    double Di = 0; // inner diameter, De − 2E when entered in the program

    bool operator==(const PipeSize&) const = default;
};

// One pipe type. The name is its identity: lookups take the first record of
// an equal name.
struct PipeTypeRecord {
    QString name;
    double K = 0;                // absolute wall roughness, mm
    std::vector<PipeSize> sizes; // N = sizes.size(), at most 40, ascending DN as saved

    bool operator==(const PipeTypeRecord&) const = default;
};

// --- The record format -----------------------------------------------------

// The 1168 bytes of a record: name length and GBK bytes, the four size arrays
// (entries after N zeroed, as are the unused name bytes and the padding), N
// and K. Throws UserError for a name that has no GBK form or is longer than
// 30 bytes, or for more than 40 sizes.
QByteArray EncodePipeTypeRecord(const PipeTypeRecord& type);

// Every record of a catalogue file's contents. `path` names the file in the
// messages. Throws UserError naming the file (and the record, counted from 1)
// for a length that is not a multiple of 1168 or above MostPipeTypes records,
// a name length above 30, an N outside 0..40, a name that is not valid GBK, a
// roughness or size value among the first N that is not a finite number, and
// for what the editor would not store: a roughness or size that
// RoughnessFault or SizeFault refuses (naming the size), or sizes not in
// strictly ascending DN.
std::vector<PipeTypeRecord> ParsePipeCatalogue(const QByteArray& bytes, const QString& path);

// The catalogue file at path (ParsePipeCatalogue's refusals, and a missing or
// unreadable file, throw UserError naming it).
std::vector<PipeTypeRecord> ReadPipeCatalogue(const QString& path);

// Writes the whole catalogue: built beside the file and renamed over it only
// when complete, so a failed write leaves the old file whole. Throws UserError.
void WritePipeCatalogue(const QString& path, const std::vector<PipeTypeRecord>& types);

// --- Looking types up ------------------------------------------------------

// Every type's name in file order.
QStringList PipeTypeNames(const std::vector<PipeTypeRecord>& catalogue);
// The first type named exactly `name`; nullptr when there is none.
const PipeTypeRecord* FindPipeType(const std::vector<PipeTypeRecord>& catalogue,
                                   const QString& name);
// The type's nominal diameters as integer texts, in its order (ComboBox_DN).
QStringList NominalDiameterTexts(const PipeTypeRecord& type);
// A roughness as Edit_K shows it: general format, up to 15 significant digits.
QString PipeRoughnessText(double K);

// --- The pipe type editor --------------------------------------------------

// A name as it is stored: its longest beginning whose GBK form has at most 30
// bytes, cut between characters. Throws UserError naming the name for a
// character without a GBK form among those kept.
QString StoredPipeTypeName(const QString& name);

// The size dialog's three fields as a size, Di = De − 2E. Refusals, in order:
// "请输入管道公称直径！", "请输入管道外径！", "请输入管道壁厚！" (empty fields),
// a DN that is not an integer, a text that is not a number (ConversionError),
// then SizeFault's refusal.
PipeSize SizeFromDialog(const QString& DN, const QString& De, const QString& E);
// Why a size cannot be stored, naming the field, or nothing: DN ≤ 0 or above
// 9999, De ≤ 0 or above 10000 mm, E < 0, Di ≤ 0, Di above De.
QString SizeFault(const PipeSize& size);
// Why a roughness cannot be stored, or nothing: below 0 or above 100 mm.
QString RoughnessFault(double K);
// The dialog's fields for editing a size: DN as an integer, De and E in the
// shortest form that reads back the same.
struct SizeDialogTexts {
    QString DN, De, E;
};
SizeDialogTexts SizeDialogTextsOf(const PipeSize& size);

// The editor's working copy of one type's sizes.
class PipeSizeList
{
public:
    PipeSizeList() = default;
    explicit PipeSizeList(std::vector<PipeSize> sizes) : sizes_(std::move(sizes)) {}

    const std::vector<PipeSize>& sizes() const { return sizes_; }
    int count() const { return int(sizes_.size()); }
    // Throws UserError("请选择管径！") for an index out of range (no selection).
    const PipeSize& at(int index) const;
    // Nominal diameters as integer texts, in list order (ListBox_Pipe).
    QStringList nominalTexts() const;

    // A size from the dialog: an entry of the same DN takes its De, E and Di;
    // otherwise it is appended. A 41st size is refused with
    // UserError("每种管道最多40种管径！"). Returns the entry's index.
    int put(const PipeSize& size);
    // Removes the entry at index; later entries move down. Throws
    // UserError("请选择管径！") for an index out of range.
    void remove(int index);

private:
    std::vector<PipeSize> sizes_;
};

// Sorts sizes by ascending DN, a selection sort moving DN, De, Di and E
// together (the order the editor stores).
void SortPipeSizes(std::vector<PipeSize>& sizes);

// "确定" of the editor: checks the fields ("请输入管道名称！",
// "请输入管壁粗糙度！", a roughness that is no number or RoughnessFault
// refuses), sorts the sizes, and writes the type over the record at
// recordIndex (the one chosen at "编辑") or, with recordIndex −1 ("添加"), as
// a new last record. A stored name that another record already holds is
// refused ("管道类型“…”已经存在，请另取名称！"), as are a record that is gone
// ("请选择管道类型！") and a new type beyond MostPipeTypes. Records other than
// the target keep every byte. Returns the record's position. Throws UserError
// for refusals and file failures; the file is then unchanged.
int SavePipeType(const QString& path, const QString& name, const QString& KText,
                 const PipeSizeList& sizes, int recordIndex);

// Deletes the record at `index`: later records move down one place and the
// file is one record shorter. Throws UserError("请选择管道类型！") for an index
// out of range, and for file failures (the file is then unchanged).
void DeletePipeType(const QString& path, int index);

// --- Seeding ---------------------------------------------------------------

// Reads the seed CSV: header "Type,K_mm,DN,De_mm,E_mm,Di_mm", one size per
// line, a type's lines together and in ascending DN, one roughness per type,
// Di = De − 2E. Throws UserError naming the line for anything else.
std::vector<PipeTypeRecord> ReadPipeTypesCsv(QIODevice& device);
