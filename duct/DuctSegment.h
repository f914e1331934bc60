// One segment of an air duct network, round or rectangular: from its air
// flow, size, length and local resistances, the velocity, the specific
// friction and the frictional, local and total resistance; and the segment
// table ZL_Duct.DB (or a project's .DB) that keeps one record per segment
// number.
//
// Using it from the duct calculator (Form_ZL_Duct), whose segment table is a
// RecordTableStore over DuctSegmentTableDeclaration():
//   "计算和保存(&S)":
//     const DuctSegmentOutcome out = CalculateDuctSegment(inputs);
//     if (out.air) current air properties = *out.air;
//     if (!out.segment) { error box out.refusal; return; }
//     StoreDuctSegment(segmentTable, *out.segment);
//   grid click or "编辑": CurrentDuctSegmentTexts(segmentTable) into the fields.
//
// Reference: the Darcy–Weisbach gradient R = λ/d · ρv²/2 with the
// Colebrook–White friction factor for every Reynolds number (air in ducts is
// turbulent in practice); a rectangular duct by its equivalent diameter
// 2ab/(a + b); local resistance Σξ·ρv²/2.
#pragma once

#include "app/Numbers.h"
#include "app/RecordTableStore.h"

#include <QString>
#include <optional>

// The default segment table in the data directory, and the template a new
// project's table is copied from; both start empty.
inline constexpr char DuctSegmentTableFileName[] = "ZL_Duct.DB";
inline constexpr char DuctProjectTemplateFileName[] = "ZL_duct1.DB";
// Characters at most of the text fields.
inline constexpr int DuctNumberSize = 12;
inline constexpr int DuctSizeSize = 6;
inline constexpr int DuctFittingNameSize = 16;

// Fields Duct_No, G, DN, W, H, V, Pm, L, JZ_name, JZ_K, JZ_N, ZL_y, ZL_j,
// ZL_z with the grid's titles, widths and display formats.
const TableDeclaration& DuctSegmentTableDeclaration();

// The air in the ducts and the roughness of their walls.
struct AirProperties {
    double nu = 0.00001506; // kinematic viscosity, m²/s
    double rho = 1.204;     // density, kg/m³
    double K = 0.15;        // absolute wall roughness, mm

    bool operator==(const AirProperties&) const = default;
};

// The three texts of the advanced settings dialog.
struct AirPropertyTexts {
    QString rho; // Edit_Ruo
    QString nu;  // Edit_miu
    QString K;   // Edit_K
};
// The shortest texts that read back as exactly these numbers.
AirPropertyTexts ExactTexts(const AirProperties& air);
// The dialog's texts when it is shown: "0.0000", "0.000000000" and "0.000".
AirPropertyTexts ShownTexts(const AirProperties& air);
// The numbers of the texts. Throws ConversionError for a text that is no
// number (named as the dialog captions it, or by ventacalc-cli's argument)
// and UserError for ν ≤ 0, ρ ≤ 0 or K < 0.
AirProperties ReadAirProperties(const AirPropertyTexts& texts,
                                InputNaming naming = InputNaming::Caption);

// The specific friction R (Pa/m) of air at mean velocity v (m/s) in a duct
// of diameter d (m) and absolute roughness K (mm), with kinematic viscosity
// nu (m²/s) and density rho (kg/m³). None when the Colebrook–White iteration
// does not converge or the result is not a finite number.
std::optional<double> DuctSpecificFriction(double v, double d, double K, double nu, double rho);

// The window's inputs as the user typed them.
struct DuctSegmentInputs {
    AirPropertyTexts air;
    QString segmentNo;     // Edit_duct_No
    QString flow;          // Edit_G, m³/h
    bool round = false;    // RadioButton_Yuan, else RadioButton_Fang
    QString diameter;      // ComboBox_DN, mm
    QString width, height; // ComboBox_W, ComboBox_H, mm
    QString length;        // Edit_L, m
    QString fittingName;   // ComboBox_JZ_Ty
    QString coefficient;   // Edit_JZ_K
    QString count;         // Edit_JZ_n
    // How a text that is no number is named: by the window's caption or by
    // ventacalc-cli's argument.
    InputNaming naming = InputNaming::Caption;
};

// One record of the segment table, in its units; sizes as typed.
struct DuctSegment {
    QString Duct_No;
    double G = 0;    // air flow, m³/h
    QString DN;      // round: diameter, mm; empty for a rectangular duct
    QString W, H;    // rectangular: width and height, mm; empty for a round duct
    double V = 0;    // velocity, m/s
    double Pm = 0;   // specific friction, Pa/m
    double L = 0;    // length, m
    QString JZ_name; // as typed
    double JZ_K = 0; // ξ
    double JZ_N = 0; // number of local resistances
    double ZL_y = 0; // frictional resistance, Pa
    double ZL_j = 0; // local resistance, Pa
    double ZL_z = 0; // total, Pa

    bool operator==(const DuctSegment&) const = default;
};

struct DuctSegmentOutcome {
    std::optional<DuctSegment> segment; // the record to store; none when refused
    QString refusal;                    // the error box's message when refused
    std::optional<AirProperties> air;   // the air read, once its texts passed
};

// The whole calculation. Refusals, first failing wins, nothing computed: the
// air's texts; the window's five empty-field checks in their order; texts
// longer than their fields; a field that is no number; a negative flow,
// length, coefficient or count, or one above its bound (1 000 000 m³/h,
// 100 000 m, ξ 1000, 1000 fittings); a fractional count; a size of 2 mm or
// less or above 10 000 mm; a friction that does not converge ("计算失败！");
// a result that is not finite or has ten or more digits before the point,
// naming its column. One of coefficient and count given without the other is
// a conversion error of the empty one.
DuctSegmentOutcome CalculateDuctSegment(const DuctSegmentInputs& in);

// Refuses a table holding a record that no calculation stores: a number that
// is not finite or below 0, a fractional count of fittings, a flow, length,
// coefficient or count beyond what the calculation accepts, any number of
// ten or more digits before the point, or a size text the window refuses.
// Throws UserError naming the file, the record, its segment number and the
// field. Called before a table's records are listed or written to a workbook.
void CheckDuctSegmentRecords(const RecordTableStore& table);
// The same for one record of the table, at position (from 0), for a table
// read record by record.
void CheckDuctSegmentRecord(const RecordTableStore& table, const RecordTableStore::Record& record,
                            size_t position);

// Stores the segment under its number: edits the first record with an equal
// Duct_No or appends one, and posts. The record is current afterwards.
void StoreDuctSegment(RecordTableStore& table, const DuctSegment& segment);
QStringList DuctSegmentNumbers(RecordTableStore& table);
bool FindDuctSegment(RecordTableStore& table, const QString& number);
bool DeleteDuctSegment(RecordTableStore& table, const QString& number);

// What a grid click or "编辑" loads into the fields: a zero coefficient or
// count loads as an empty field.
struct DuctSegmentTexts {
    QString segmentNo, flow;
    bool round = false; // DN not empty
    QString diameter, width, height;
    QString length, fittingName, coefficient, count;
};
DuctSegmentTexts CurrentDuctSegmentTexts(const RecordTableStore& table);
