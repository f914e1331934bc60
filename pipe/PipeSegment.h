// One segment of a water pipe network: from its flow (or heat load), the way
// its size is found, its length and its local resistances, the velocity,
// specific friction and the frictional, local and total resistance; and the
// segment table ZL_pipe.DB (or a project's .DB) that keeps one record per
// segment number.
//
// Using it from the pipe calculator (Form_ZL_pipe), whose segment table is a
// RecordTableStore over PipeSegmentTableDeclaration() and whose coefficient
// table is one over LocalResistanceTableDeclaration():
//   "计算和保存(&S)":
//     PipeSegmentInputs in;            // the fields' texts, the radio buttons,
//     in.maxFriction = Form_BZL_Set's Edit1 text;
//     const PipeSegmentOutcome out = CalculatePipeSegment(
//         in, FileSegmentData(DataDir::file(PipeCatalogueFileName), coefficientTable));
//     if (out.water) lastWater = *out.water;        // the last water's ν, ρ, K
//     if (!out.segment) { error box out.refusal; return; }
//     StorePipeSegment(segmentTable, *out.segment); // edit in place or append
//     ListBox_pipe <- SegmentNumbers(segmentTable)
//   "编辑(&E)":  FindSegment(segmentTable, item), then as a grid click
//   grid click: segmentTable.moveTo(row); const SegmentFieldTexts f =
//               CurrentSegmentTexts(segmentTable); fields <- f
//   "删除(&D)":  after "确实要删除该项吗？": DeleteSegment(segmentTable, item)
// A file that cannot be read (pipe.dat, the tables) throws UserError; the
// handler's edge shows it.
//
// Reference: water flow from the heat load with c = 4186.8 J/(kg·K); velocity
// from the flow and the inner diameter; friction as in WaterFriction.h; local
// resistance Σξ·ρv²/2.
#pragma once

#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The default segment table in the data directory, and the template a new
// project's table is copied from; both start empty.
inline constexpr char PipeSegmentTableFileName[] = "ZL_pipe.DB";
inline constexpr char PipeProjectTemplateFileName[] = "ZL_pipe1.DB";
// Characters of a segment number at most (the field's width).
inline constexpr int SegmentNumberSize = 12;

// Fields Pipe_No (text of 12), G, Q, DN, V, Pm, L, JZ_name (text of 16), JZ,
// JZ_N, ZL_y, ZL_j, ZL_z with the grid's titles, widths and display formats.
const TableDeclaration& PipeSegmentTableDeclaration();

// What Edit_G holds: the flow (RadioButton_G) or the heat load (RadioButton_Q).
enum class FlowEntry { Flow, HeatLoad };
// How the size is found: RadioButton_V, RadioButton_DN, RadioButton_Z.
enum class SizeEntry { Velocity, Nominal, Automatic };

// The window's inputs as the user typed them.
struct PipeSegmentInputs {
    QString pipeType;   // ComboBox_pipe
    QString supplyTemp; // Edit_T1, ℃
    QString returnTemp; // Edit_T2, ℃
    QString segmentNo;  // Edit_pipe_No
    FlowEntry flowEntry = FlowEntry::Flow;
    QString flow; // Edit_G: m³/h, or W for a heat load
    SizeEntry sizeEntry = SizeEntry::Automatic;
    QString velocity;                            // Edit_V, m/s (velocity mode)
    QString nominal;                             // ComboBox_DN's text, mm (nominal mode)
    QString maxFriction = QStringLiteral("200"); // Form_BZL_Set's Edit1, Pa/m (automatic mode)
    QString length;                              // Edit_L, m
    QString fittingName;                         // ComboBox_JZ_Ty's text
    QString fittingCount;                        // Edit_JZ_n
    // How a text that is no number is named: by the window's caption (the
    // friction limit by its dialog's title) or by ventacalc-cli's argument.
    InputNaming naming = InputNaming::Caption;
};

// One record of the segment table, in its units.
struct PipeSegment {
    QString Pipe_No;
    double G = 0;    // flow, m³/h
    double Q = 0;    // heat load, kW
    double DN = 0;   // nominal diameter, mm
    double V = 0;    // velocity, m/s
    double Pm = 0;   // specific friction, Pa/m
    double L = 0;    // length, m
    QString JZ_name; // as typed, even when no local resistance is counted
    double JZ = 0;   // ξ used
    double JZ_N = 0; // number of local resistances
    double ZL_y = 0; // frictional resistance, Pa
    double ZL_j = 0; // local resistance, Pa
    double ZL_z = 0; // total, Pa

    bool operator==(const PipeSegment&) const = default;
};

// The water of the last calculation that passed the input checks.
struct WaterState {
    double nu = 0;  // kinematic viscosity, m²/s
    double rho = 0; // density, kg/m³
    double K = 0;   // roughness of the pipe type, mm
};

struct PipeSegmentOutcome {
    std::optional<PipeSegment> segment; // the record to store; none when refused
    QString refusal;                    // the error box's message when refused
    std::optional<WaterState> water;    // set once the inputs passed their checks
};

// Where the calculation finds the pipe type and the coefficients; asked only
// after the input checks, the type first.
struct PipeSegmentData {
    std::function<std::optional<PipeTypeRecord>(const QString& name)> pipeType;
    std::function<std::optional<LocalResistance>(const QString& name)> localResistance;
};
// The window's: pipe.dat read at each calculation, the coefficient table
// (opened when closed) scanned for the name.
PipeSegmentData FileSegmentData(const QString& cataloguePath, RecordTableStore& coefficients);
// From data read once (the CLI's batch workers, tests, benchmarks); safe to
// use from several threads at once.
PipeSegmentData MemorySegmentData(std::vector<PipeTypeRecord> catalogue,
                                  std::vector<LocalResistance> coefficients);

// The whole calculation. Refusals, first failing wins, nothing computed:
// the window's eleven empty-field checks in their order; a segment number over
// 12 or a fitting name over 16 characters; a field that is no number; a mean
// water temperature outside 0～100 ℃, or a supply or return temperature
// outside 0～200 ℃; a flow, heat load or target velocity not above 0, a flow
// above 100 000 m³/h or a heat load above 1e10 W; in automatic sizing a
// friction limit not above 0; a length below 0 or above 100 000 m; a count of
// local resistances below 0, fractional or above 1000; a heat load with equal
// supply and return temperatures; a type not in the catalogue or without
// sizes; a fitting counted above 0 whose name the coefficient table does not
// hold; a DN not among the type's sizes; a friction that does not converge
// ("计算失败！"); a result that is not finite or has ten or more digits
// before the point, naming its column. Sizing by velocity and by friction
// goes through the sizes by ascending inner diameter. Throws UserError only
// when the data cannot be read.
PipeSegmentOutcome CalculatePipeSegment(const PipeSegmentInputs& in, const PipeSegmentData& data);

// The water of a pipe type at the mean of the supply and return temperatures,
// as a segment calculation with these inputs finds it (the results
// workbook's heading). Refused, with the calculation's message, for an empty
// type or temperature, a temperature that is no number, a mean outside
// 0～100 ℃ or a type not in the catalogue.
struct PipeWaterOutcome {
    std::optional<WaterState> water;
    double meanTemperature = 0; // ℃, with the water
    QString refusal;
};
PipeWaterOutcome PipeWater(const QString& pipeType, const QString& supplyTemp,
                           const QString& returnTemp, const PipeSegmentData& data);

// Stores the segment under its number: edits the first record with an equal
// Pipe_No or appends one, and posts. The record is current afterwards.
void StorePipeSegment(RecordTableStore& table, const PipeSegment& segment);
// Every Pipe_No in table order.
QStringList SegmentNumbers(RecordTableStore& table);
// Makes the first record whose Pipe_No equals `number` current; false (at
// eof) when there is none.
bool FindSegment(RecordTableStore& table, const QString& number);
// Deletes the first record whose Pipe_No equals `number`; false when none.
bool DeleteSegment(RecordTableStore& table, const QString& number);
// The current record (throws UserError at eof).
PipeSegment CurrentSegment(const RecordTableStore& table);

// Refuses a table holding a record that no calculation stores: a number that
// is not finite, below 0, a fractional DN or count of fittings, a flow,
// length, coefficient or count beyond what the calculation accepts, or any
// number of ten or more digits before the point. Throws UserError naming the
// file, the record, its segment number and the field. Called before a
// table's records are listed or written to a workbook.
void CheckPipeSegmentRecords(const RecordTableStore& table);
// The same for one record of the table, at position (from 0), for a table
// read record by record.
void CheckPipeSegmentRecord(const RecordTableStore& table, const RecordTableStore::Record& record,
                            size_t position);

// What a grid click or "编辑" loads into the fields: each field's own text.
struct SegmentFieldTexts {
    QString segmentNo;    // Edit_pipe_No <- Pipe_No
    QString flow;         // Edit_G <- G
    QString nominal;      // ComboBox_DN <- DN
    QString length;       // Edit_L <- L
    QString fittingName;  // ComboBox_JZ_Ty <- JZ_Name
    QString fittingCount; // Edit_JZ_n <- JZ_N
};
SegmentFieldTexts CurrentSegmentTexts(const RecordTableStore& table);
