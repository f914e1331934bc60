// The local-resistance coefficient table JZ_pipe.DB: one record per kind of
// fitting (valves, elbows, tees, radiators...) with its coefficient ξ for
// DN15, DN20, DN25, DN32, DN40 and for every other size (the DN50 field), and
// a picture of the fitting (Map, never edited by the program).
//
// Using it from the pipe calculator (Form_ZL_pipe), which keeps a
// RecordTableStore over it (LocalResistanceTableDeclaration()):
//   show:            ComboBox_JZ_Ty <- LocalResistanceNames(table), then table.close()
//   type changed:    FindLocalResistance(table, text) (opens the table, makes the
//                    record current); the picture <- table.picture("Map") or an
//                    empty frame when !FindLocalResistance or the image isNull()
//   after the editor closes: table.close() and the same again, so the box,
//                    the picture and the calculation see the edited table
// and from the coefficient editor (Form_JZSet_pipe):
//   show:            ListBox_Valve <- LocalResistanceNames(table),
//                    rowIds <- LocalResistanceRowIds(table); table.close()
//   编辑(&E):        no selection -> error "请选择阀门类型！";
//                    edited = rowIds[row]  (the record listed there, not its name:
//                    names of an older table may repeat)
//                    fields <- LocalResistanceTextsAt(table,
//                              LocalResistanceIndexOf(table, edited)); table.close()
//   删除(&D):        no selection -> "请选择阀门类型！"; after "确实要删除该项吗？":
//                    DeleteLocalResistanceAt(table, LocalResistanceIndexOf(table, rowIds[row]))
//   确定:            StoreLocalResistance(table, fields,
//                                         adding ? -1 : LocalResistanceIndexOf(table, edited))
// Every refusal is a UserError whose text is the error box's message.
#pragma once

#include "app/RecordTableStore.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// The table's file name in the data directory.
inline constexpr char LocalResistanceTableFileName[] = "JZ_pipe.DB";
// The seed built into the program (data/jz_pipe.csv).
inline constexpr char LocalResistanceSeedResource[] = ":/data/jz_pipe.csv";
// A name's characters at most: a segment stores the name in 16 characters.
inline constexpr int LocalResistanceNameSize = 16;
// The largest coefficient ξ: above any fitting's, even a valve nearly shut.
inline constexpr double LargestLocalResistance = 1000;

// Fields Name (text of 16), DN15, DN20, DN25, DN32, DN40, DN50 (numbers) and
// Map (picture).
const TableDeclaration& LocalResistanceTableDeclaration();

// One kind of fitting and its coefficients.
struct LocalResistance {
    QString name;
    // ξ for DN15, DN20, DN25, DN32, DN40 and every other size, in that order.
    std::array<double, 6> xi{};

    bool operator==(const LocalResistance&) const = default;
};

// ξ for a segment of nominal diameter DN (mm): the DN15 … DN40 coefficient for
// those sizes, the DN50 one for any other, larger or smaller.
double CoefficientForDN(const LocalResistance& fitting, double DN);

// The table's texts as the editor's seven fields show them: the name and the
// six coefficients in their shortest form.
struct LocalResistanceTexts {
    QString name;
    std::array<QString, 6> xi;
};

// Every name in table order (opens the table when closed; it stays open).
QStringList LocalResistanceNames(RecordTableStore& table);
// Every record's identity in table order, as LocalResistanceNames lists them:
// its rowid, which stays with the record while others come and go (opens the
// table when closed).
std::vector<qint64> LocalResistanceRowIds(RecordTableStore& table);
// The position now of the record with that identity; -1 when it is gone
// (opens the table when closed).
int LocalResistanceIndexOf(RecordTableStore& table, qint64 rowId);
// Opens the table when closed and makes the first record named exactly
// `name` current; false (at eof) when there is none.
bool FindLocalResistance(RecordTableStore& table, const QString& name);
// The same, returning the record's position, or -1.
int FindLocalResistanceIndex(RecordTableStore& table, const QString& name);
// The current record's name and coefficients. Throws UserError at eof, and
// for a coefficient the editor refuses (not finite, below 0, above 1000),
// naming the file, the record and its column.
LocalResistance CurrentLocalResistance(const RecordTableStore& table);
// The first record named `name`, or none (opens the table when closed).
std::optional<LocalResistance> LookUpLocalResistance(RecordTableStore& table, const QString& name);
// Every record in table order (opens the table when closed).
std::vector<LocalResistance> ReadLocalResistances(RecordTableStore& table);

// The editor's fields of the record at `index` (opens the table when closed).
// Throws UserError for an index that is no record.
LocalResistanceTexts LocalResistanceTextsAt(RecordTableStore& table, int index);
// "确定" of the editor: with recordIndex −1 appends a record, otherwise edits
// the record at that position (the one chosen at "编辑", wherever the list's
// selection has moved since). Refusals: "输入数据不能为空！" when any field
// is empty, a name over 16 characters, a coefficient that is no number
// (ConversionError), below 0 or above 1000, a name that another record holds
// (segments find a fitting by its name: a second record of it would never be
// used), a record index that is no record ("请选择阀门类型！"). Nothing is
// written then. Opens the table when closed and closes it afterwards.
void StoreLocalResistance(RecordTableStore& table, const LocalResistanceTexts& fields,
                          int recordIndex);
// Deletes the record at `index`, and no other of the same name. Throws
// UserError("请选择阀门类型！") for an index that is no record. Opens the
// table when closed and closes it afterwards.
void DeleteLocalResistanceAt(RecordTableStore& table, int index);

// Reads the seed CSV: header "Name,DN15,DN20,DN25,DN32,DN40,DN50", one
// fitting per line, a name of 1 to 16 characters and six numbers from 0 to
// 1000. Throws UserError naming the line for anything else.
std::vector<LocalResistance> ReadLocalResistanceCsv(QIODevice& device);
// Creates a new table file at path with the fittings in order and empty
// pictures (seeding and tests). Throws UserError, also when the file exists.
void CreateLocalResistanceTable(const QString& path, const std::vector<LocalResistance>& fittings);
