// The loops of a resistance calculation: named, ordered lists of segment
// numbers of the segment table, put in parallel groups (loops that leave and
// rejoin at the same points), and what the designer hands in from them: each
// loop's total resistance, the most unfavourable loop (the one the pump or
// fan must overcome) and the relative difference between parallel loops.
//
// Reference: GB 50736-2012 §5.9.11 (water) and §6.6.6 (air): the relative
// difference in resistance between parallel loops, their common segments
// excluded, shall not exceed 15 %; beyond it balancing valves or dampers are
// needed. The limit is kept per project, 15 % by default.
//
// The loops are kept beside the segment table in a file of their own
// (SegmentLoopsPath), so the project file and the table stay exactly as
// they were: a project without loops has no such file, and a program that
// does not know loops never reads it.
//
// The loops file: UTF-8 lines (segment numbers are whatever the table holds,
// which GBK cannot always spell), each ended by CR LF (LF read too), every
// line a keyword, one space and its text (taken as it stands, spaces
// included):
//   Ventacalc环路表 1      the first line, always
//   限值 0.15              the balance limit as a fraction, 0 < limit < 1
//   环路 A                 a loop by name; the 管段 lines after it are its
//   管段 1                 segment numbers, in their order
//   管段 2
//   并联 A,B               a parallel group: loop names, comma-separated
// 限值 comes once, before the loops; every 并联 line comes after all the
// loops. Reading holds the file to the rules the editor holds the loops to
// (CheckSegmentLoops), except that a segment may since have left the table.
#pragma once

#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// Characters of a loop's name at most.
inline constexpr int LoopNameSize = 12;
// The relative difference of parallel loops allowed by default (15 %).
inline constexpr double DefaultBalanceLimit = 0.15;

struct SegmentLoop {
    QString name;         // 1 to 12 characters, none of ",，=" nor a control character
    QStringList segments; // segment numbers as the table's number field holds them

    bool operator==(const SegmentLoop&) const = default;
};

struct LoopGroup {
    QStringList loops; // names of two or more different loops

    bool operator==(const LoopGroup&) const = default;
};

struct SegmentLoops {
    std::vector<SegmentLoop> loops;
    std::vector<LoopGroup> groups;
    double limit = DefaultBalanceLimit; // a fraction: 0.15 for 15 %

    bool empty() const { return loops.empty(); }
    // The loop named `name`, or nullptr.
    const SegmentLoop* find(const QString& name) const;
    bool operator==(const SegmentLoops&) const = default;
};

// ---- Input as the user gives it -------------------------------------------

// Segment numbers typed as "1,2,3" (also "，" and "、" between them; each
// number trimmed). Throws UserError for an empty text or an empty number
// between separators ("1,,2").
QStringList ParseSegmentList(const QString& text);
// A limit typed in percent ("15") as a fraction (0.15). Throws UserError
// unless it is a number above 0 and below 100.
double ParseBalanceLimitPercent(const QString& text);
// "NAME=1,2,3" of the command line. Throws UserError.
SegmentLoop ParseLoopArgument(const QString& text);
// "NAME,NAME" of the command line. Throws UserError.
LoopGroup ParseGroupArgument(const QString& text);

// ---- Checks (each throws UserError naming the loop or group) ---------------

// The name: empty, longer than LoopNameSize, holding "," "，" "=" or a
// control character, or with spaces around it.
void CheckLoopName(const QString& name);
// A loop by itself: its name, no segments, a segment named twice.
void CheckLoop(const SegmentLoop& loop);
// A loop against the table's segment numbers: a segment not in the table.
void CheckLoopSegments(const SegmentLoop& loop, const QStringList& tableNumbers);
// A group against the loops: a loop it names that is not among them, a loop
// named twice, fewer than two loops.
void CheckGroup(const LoopGroup& group, const std::vector<SegmentLoop>& loops);
// The whole: every loop, no two loops of one name, every group, no two
// groups of the same loops (in any order), a limit not in (0, 1). Not the
// table: a stored loop may name a segment deleted since.
void CheckSegmentLoops(const SegmentLoops& loops);

// ---- Editing (the dialog's and the command line's) -------------------------
// Each change is checked whole first and leaves `loops` as it was when
// refused (UserError).

// Adds a loop, or with `replacing` set replaces the loop of that name (a
// renamed loop keeps its place and its groups). The loop is checked by
// itself and against tableNumbers, and its name must be free.
void PutLoop(SegmentLoops& loops, const SegmentLoop& loop, const QStringList& tableNumbers,
             const QString& replacing = QString());
// Deletes the loop and takes it out of its groups; a group left with fewer
// than two loops is deleted too. Returns the groups deleted so (as their
// loops' names joined by "、"), for the dialog to say.
QStringList RemoveLoop(SegmentLoops& loops, const QString& name);
// Adds a group, or replaces the group at `replacing` (from 0; -1 adds).
void PutGroup(SegmentLoops& loops, const LoopGroup& group, int replacing = -1);
void RemoveGroup(SegmentLoops& loops, int index);
// The command line's loops on top of the stored ones: a given loop with a
// stored loop's name replaces it (in its place, its groups kept), any other
// is added after them; the given groups are added after the stored ones, a
// group of the same loops as a stored one being that group.
// Given loops are checked against tableNumbers. Throws UserError.
SegmentLoops WithGivenLoops(const SegmentLoops& stored, const std::vector<SegmentLoop>& loops,
                            const std::vector<LoopGroup>& groups, const QStringList& tableNumbers);

// ---- Figures ---------------------------------------------------------------

// Each segment number's total resistance (Pa), the first record of a number
// counting as the table's lookups do.
using SegmentResistances = QHash<QString, double>;
// From a table's records (numberField: "Pipe_No" / "Duct_No", totalField:
// "ZL_z"); a field holding nothing counts 0.
SegmentResistances ResistancesOf(const TableDeclaration& declaration, const RecordSource& records,
                                 const QString& numberField, const QString& totalField);

struct LoopFigures {
    QString name;
    QStringList segments;
    double total = 0; // 总阻力, Pa: the sum over its segments in the table
    int count = 0;    // segments named
    double share = 0; // total / the largest loop's total (0 when that is 0)
    bool mostUnfavourable = false;
    QStringList missing; // segments named that the table no longer holds
};

struct LoopDifference {
    QString loop;
    double nonCommon = 0;  // Pa: the loop's total without the group's common segments
    double difference = 0; // (ΔPmax − ΔPi) / ΔPmax; 0 when ΔPmax is 0
    bool aboveLimit = false;
};

struct GroupFigures {
    QStringList loops;
    QStringList common; // segments in every loop of the group, in the first loop's order
    QString largest;    // the loop of ΔPmax (the first of equals)
    std::vector<LoopDifference> differences; // in the group's order
    bool aboveLimit = false;                 // any loop above the limit
};

struct LoopsFigures {
    std::vector<LoopFigures> loops;
    std::vector<GroupFigures> groups;
    QString mostUnfavourable; // the loop of the largest total (the first of equals); empty without
                              // loops
    double limit = DefaultBalanceLimit;
};
LoopsFigures ComputeLoopFigures(const SegmentLoops& loops, const SegmentResistances& resistances);

// The report block, as the other calculators' reports: the loops' lines
// (name, segments, 总阻力, share, "最不利环路"), then each group's common
// segments and differences ("超过15%" when above), closed by a rule.
QStringList LoopReportLines(const LoopsFigures& figures);

// ---- Storage -----------------------------------------------------------------

// The loops file beside a segment table: the table's base (SegmentProject.h's
// rule) + ".HL": D:\calc\loop1.DB -> D:\calc\loop1.HL, the data directory's
// ZL_pipe.DB -> ZL_pipe.HL.
QString SegmentLoopsPath(const QString& tablePath);
// The file's bytes (throws UserError for a segment number holding a line
// break, which no line can keep).
QByteArray SegmentLoopsBytes(const SegmentLoops& loops);
// Reads the bytes strictly: throws UserError naming `path` and the line.
SegmentLoops ParseSegmentLoops(const QByteArray& bytes, const QString& path);
// The loops kept at path; none when the file does not exist. Throws
// UserError when it cannot be read or is refused.
SegmentLoops ReadSegmentLoops(const QString& path);
// Replaces the file at path with the loops (PendingFile: a failure leaves
// the old file), or removes it when there are none. Throws UserError.
void WriteSegmentLoops(const QString& path, const SegmentLoops& loops);

// ---- The workbook's "环路" sheet --------------------------------------------

inline constexpr char LoopSheetName[] = "环路";
// The sheet after a calculator's segment sheet: title (e.g. "水管环路计算结
// 果表"), project file and time in the heading, one row per loop, then one
// row per loop of each group with its difference.
WorkbookSheet LoopWorkbookSheet(const QString& title, const QString& time,
                                const QString& projectFileName, const LoopsFigures& figures);
// Writes a calculator's results workbook: the segment sheet as it is without
// loops, followed by the "环路" sheet of the loops (LoopWorkbookSheet with
// loopTitle) when there are any, their figures from the segment sheet's
// records (numberField: the table's segment number field; "ZL_z" the total).
// Throws UserError.
void WriteSegmentWorkbook(const QString& path, const WorkbookSheet& segments,
                          const QString& numberField, const SegmentLoops& loops,
                          const QString& loopTitle, const QString& time,
                          const QString& projectFileName);
