#include "app/SegmentLoops.h"

#include "app/CheckedFile.h"
#include "app/FailureReasons.h"
#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "app/TextReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>

namespace
{

// Characters of a segment number at most: both tables' number fields.
constexpr int kSegmentNumberSize = 12;
// A loops file is a few lines per loop; anything far longer is no loops file.
constexpr qint64 kMaxLoopsFileBytes = 4 * 1024 * 1024;
// Differences are shown to 0.1 %: one that equals the limit up to rounding
// noise of the division is not above it.
constexpr double kLimitTolerance = 1e-9;

const QString kMagic = QStringLiteral("Ventacalc环路表 1");
const QString kLimitKey = QStringLiteral("限值");
const QString kLoopKey = QStringLiteral("环路");
const QString kSegmentKey = QStringLiteral("管段");
const QString kGroupKey = QStringLiteral("并联");

int characters(const QString& text)
{
    return int(text.toUcs4().size());
}

bool hasControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString quoted(const QString& text)
{
    return QStringLiteral("“%1”").arg(QuotedInput(text));
}

QString groupName(const LoopGroup& group)
{
    return group.loops.join(QStringLiteral("、"));
}

QStringList splitList(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("，"), QStringLiteral(","))
        .replace(QStringLiteral("、"), QStringLiteral(","));
    QStringList parts = unified.split(QLatin1Char(','));
    for (QString& part : parts)
        part = part.trimmed();
    return parts;
}

QSet<QString> sorted(const QStringList& names)
{
    return QSet<QString>(names.begin(), names.end());
}

// The same for every group of the same loops in any order (names hold no comma).
QString groupKey(const LoopGroup& group)
{
    QStringList names = group.loops;
    names.sort();
    return names.join(QLatin1Char(','));
}

void checkGroupNames(const LoopGroup& group, const QSet<QString>& loopNames)
{
    QSet<QString> seen;
    for (const QString& name : group.loops) {
        if (!loopNames.contains(name))
            throw UserError(QStringLiteral("并联环路%1中的%2不是已有的环路！")
                                .arg(quoted(groupName(group)), quoted(name)));
        if (seen.contains(name))
            throw UserError(QStringLiteral("并联环路%1中环路%2出现了两次！")
                                .arg(quoted(groupName(group)), quoted(name)));
        seen.insert(name);
    }
    if (group.loops.size() < 2)
        throw UserError(
            QStringLiteral("并联环路%1至少要有两个环路！").arg(quoted(groupName(group))));
}

QString sameGroupMessage(const LoopGroup& group)
{
    return QStringLiteral("已有由%1组成的并联环路！").arg(quoted(groupName(group)));
}

// The shortest text that reads back as the same number.
QString shortest(double value)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

// The limit in percent as messages and notes show it: "15", "12.5".
QString percentText(double fraction)
{
    QString text = FormatFixed(fraction * 100, 2);
    while (text.contains(QLatin1Char('.')) &&
           (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text;
}

QString aboveLimitNote(double limit)
{
    return QStringLiteral("超过%1%").arg(percentText(limit));
}

void checkLimit(double limit)
{
    if (!(limit > 0 && limit < 1))
        throw UserError(QStringLiteral("平衡限值须大于0%、小于100%！"));
}

void checkNameFree(const std::vector<SegmentLoop>& loops, const QString& name,
                   const QString& except = {})
{
    for (const SegmentLoop& loop : loops)
        if (loop.name == name && loop.name != except)
            throw UserError(QStringLiteral("已有名为%1的环路！").arg(quoted(name)));
}

void checkGroupFree(const std::vector<LoopGroup>& groups, const LoopGroup& group, int except = -1)
{
    const QSet<QString> names = sorted(group.loops);
    for (size_t k = 0; k < groups.size(); ++k)
        if (int(k) != except && sorted(groups[k].loops) == names)
            throw UserError(sameGroupMessage(group));
}

std::vector<SegmentLoop>::iterator loopNamed(std::vector<SegmentLoop>& loops, const QString& name)
{
    return std::find_if(loops.begin(), loops.end(),
                        [&](const SegmentLoop& l) { return l.name == name; });
}

} // namespace

const SegmentLoop* SegmentLoops::find(const QString& name) const
{
    for (const SegmentLoop& loop : loops)
        if (loop.name == name)
            return &loop;
    return nullptr;
}

// ---- Input ------------------------------------------------------------------

QStringList ParseSegmentList(const QString& text)
{
    if (text.trimmed().isEmpty())
        throw UserError(QStringLiteral("请输入环路的管段编号！"));
    const QStringList numbers = splitList(text);
    if (numbers.contains(QString()))
        throw UserError(QStringLiteral("管段编号之间不能为空：%1").arg(quoted(text)));
    return numbers;
}

double ParseBalanceLimitPercent(const QString& text)
{
    const double percent = ParseField(QStringLiteral("平衡限值(%)"), text);
    checkLimit(percent / 100);
    return percent / 100;
}

SegmentLoop ParseLoopArgument(const QString& text)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        throw UserError(
            QStringLiteral("--loop 须为“名称=管段编号,管段编号,…”：%1").arg(quoted(text)));
    SegmentLoop loop{text.left(equals), ParseSegmentList(text.mid(equals + 1))};
    CheckLoop(loop);
    return loop;
}

LoopGroup ParseGroupArgument(const QString& text)
{
    const LoopGroup group{splitList(text)};
    if (group.loops.contains(QString()))
        throw UserError(QStringLiteral("--group 须为“环路名称,环路名称,…”：%1").arg(quoted(text)));
    return group;
}

// ---- Checks -------------------------------------------------------------------

void CheckLoopName(const QString& name)
{
    if (name.isEmpty())
        throw UserError(QStringLiteral("请输入环路名称！"));
    if (characters(name) > LoopNameSize)
        throw UserError(
            QStringLiteral("环路名称不能超过%1个字符：%2").arg(LoopNameSize).arg(quoted(name)));
    if (name.trimmed() != name)
        throw UserError(QStringLiteral("环路名称%1的前后不能有空格！").arg(quoted(name)));
    if (hasControl(name) || name.contains(QLatin1Char(',')) ||
        name.contains(QStringLiteral("，")) || name.contains(QStringLiteral("、")) ||
        name.contains(QLatin1Char('=')))
        throw UserError(
            QStringLiteral("环路名称%1不能含有逗号、顿号、等号或控制字符！").arg(quoted(name)));
}

void CheckLoop(const SegmentLoop& loop)
{
    CheckLoopName(loop.name);
    if (loop.segments.isEmpty())
        throw UserError(QStringLiteral("环路%1中没有管段！").arg(quoted(loop.name)));
    QSet<QString> seen;
    for (const QString& number : loop.segments) {
        if (number.isEmpty())
            throw UserError(QStringLiteral("环路%1中有空的管段编号！").arg(quoted(loop.name)));
        if (characters(number) > kSegmentNumberSize)
            throw UserError(QStringLiteral("环路%1中的管段编号%2超过%3个字符！")
                                .arg(quoted(loop.name), quoted(number))
                                .arg(kSegmentNumberSize));
        if (seen.contains(number))
            throw UserError(QStringLiteral("环路%1中管段%2出现了两次！")
                                .arg(quoted(loop.name), quoted(number)));
        seen.insert(number);
    }
}

void CheckLoopSegments(const SegmentLoop& loop, const QStringList& tableNumbers)
{
    const QSet<QString> table(tableNumbers.begin(), tableNumbers.end());
    for (const QString& number : loop.segments)
        if (!table.contains(number))
            throw UserError(QStringLiteral("环路%1中的管段%2不在管段表中！")
                                .arg(quoted(loop.name), quoted(number)));
}

void CheckGroup(const LoopGroup& group, const std::vector<SegmentLoop>& loops)
{
    QSet<QString> names;
    for (const SegmentLoop& loop : loops)
        names.insert(loop.name);
    checkGroupNames(group, names);
}

void CheckSegmentLoops(const SegmentLoops& loops)
{
    checkLimit(loops.limit);
    QSet<QString> names;
    for (const SegmentLoop& loop : loops.loops) {
        CheckLoop(loop);
        if (names.contains(loop.name))
            throw UserError(QStringLiteral("已有名为%1的环路！").arg(quoted(loop.name)));
        names.insert(loop.name);
    }
    QSet<QString> groups;
    for (const LoopGroup& group : loops.groups) {
        checkGroupNames(group, names);
        if (groups.contains(groupKey(group)))
            throw UserError(sameGroupMessage(group));
        groups.insert(groupKey(group));
    }
}

// ---- Editing ------------------------------------------------------------------

void PutLoop(SegmentLoops& loops, const SegmentLoop& loop, const QStringList& tableNumbers,
             const QString& replacing)
{
    CheckLoop(loop);
    CheckLoopSegments(loop, tableNumbers);
    SegmentLoops changed = loops;
    if (replacing.isEmpty()) {
        checkNameFree(changed.loops, loop.name);
        changed.loops.push_back(loop);
    } else {
        const auto place = loopNamed(changed.loops, replacing);
        if (place == changed.loops.end())
            throw UserError(QStringLiteral("没有名为%1的环路！").arg(quoted(replacing)));
        checkNameFree(changed.loops, loop.name, replacing);
        *place = loop;
        for (LoopGroup& group : changed.groups)
            for (QString& name : group.loops)
                if (name == replacing)
                    name = loop.name;
    }
    CheckSegmentLoops(changed);
    loops = std::move(changed);
}

QStringList RemoveLoop(SegmentLoops& loops, const QString& name)
{
    const auto place = loopNamed(loops.loops, name);
    if (place == loops.loops.end())
        throw UserError(QStringLiteral("没有名为%1的环路！").arg(quoted(name)));
    loops.loops.erase(place);
    QStringList dropped;
    std::vector<LoopGroup> kept;
    for (LoopGroup group : loops.groups) {
        const LoopGroup before = group;
        group.loops.removeAll(name);
        if (group.loops.size() < 2)
            dropped << groupName(before);
        else if (std::none_of(kept.begin(), kept.end(), [&](const LoopGroup& g) {
                     return sorted(g.loops) == sorted(group.loops);
                 }))
            kept.push_back(group);
        else
            dropped << groupName(before); // now the same loops as another group
    }
    loops.groups = std::move(kept);
    return dropped;
}

void PutGroup(SegmentLoops& loops, const LoopGroup& group, int replacing)
{
    CheckGroup(group, loops.loops);
    if (replacing >= int(loops.groups.size()))
        throw UserError(QStringLiteral("没有这个并联环路！"));
    checkGroupFree(loops.groups, group, replacing);
    if (replacing < 0)
        loops.groups.push_back(group);
    else
        loops.groups[size_t(replacing)] = group;
}

void RemoveGroup(SegmentLoops& loops, int index)
{
    if (index < 0 || index >= int(loops.groups.size()))
        throw UserError(QStringLiteral("没有这个并联环路！"));
    loops.groups.erase(loops.groups.begin() + index);
}

SegmentLoops WithGivenLoops(const SegmentLoops& stored, const std::vector<SegmentLoop>& loops,
                            const std::vector<LoopGroup>& groups, const QStringList& tableNumbers)
{
    SegmentLoops result = stored;
    QSet<QString> given;
    for (const SegmentLoop& loop : loops) {
        CheckLoop(loop);
        if (given.contains(loop.name))
            throw UserError(QStringLiteral("环路%1给出了两次！").arg(quoted(loop.name)));
        given.insert(loop.name);
        CheckLoopSegments(loop, tableNumbers);
        const auto place = loopNamed(result.loops, loop.name);
        if (place != result.loops.end())
            *place = loop;
        else
            result.loops.push_back(loop);
    }
    // A given group of loops the project already groups is that group: a
    // script may repeat what the dialog stored. Only one given twice is refused.
    const std::size_t storedGroups = result.groups.size();
    for (const LoopGroup& group : groups) {
        CheckGroup(group, result.loops);
        const QSet<QString> names = sorted(group.loops);
        const auto same = [&](const LoopGroup& g) { return sorted(g.loops) == names; };
        if (std::any_of(result.groups.begin(), result.groups.begin() + storedGroups, same))
            continue;
        checkGroupFree(result.groups, group);
        result.groups.push_back(group);
    }
    CheckSegmentLoops(result);
    return result;
}

// ---- Figures --------------------------------------------------------------------

SegmentResistances ResistancesOf(const TableDeclaration& declaration, const RecordSource& records,
                                 const QString& numberField, const QString& totalField)
{
    const int number = declaration.indexOf(numberField);
    const int total = declaration.indexOf(totalField);
    if (number < 0 || total < 0)
        throw UserError(
            QStringLiteral("管段表中没有字段“%1”！").arg(number < 0 ? numberField : totalField));
    SegmentResistances resistances;
    records([&](const RecordTableStore::Record& record) {
        const QString key = record.values[size_t(number)].toString();
        if (!resistances.contains(key))
            resistances.insert(key, record.values[size_t(total)].toDouble());
    });
    return resistances;
}

LoopsFigures ComputeLoopFigures(const SegmentLoops& loops, const SegmentResistances& resistances)
{
    LoopsFigures figures;
    figures.limit = loops.limit;
    const auto sum = [&](const QStringList& segments, const QSet<QString>& without) {
        double total = 0;
        for (const QString& number : segments)
            if (!without.contains(number))
                total += resistances.value(number, 0.0);
        return total;
    };
    double largest = 0;
    const LoopFigures* most = nullptr;
    for (const SegmentLoop& loop : loops.loops) {
        LoopFigures f;
        f.name = loop.name;
        f.segments = loop.segments;
        f.count = int(loop.segments.size());
        f.total = sum(loop.segments, {});
        for (const QString& number : loop.segments)
            if (!resistances.contains(number))
                f.missing << number;
        figures.loops.push_back(f);
    }
    for (const LoopFigures& f : figures.loops)
        if (!most || f.total > largest) {
            most = &f;
            largest = f.total;
        }
    for (LoopFigures& f : figures.loops) {
        f.share = largest != 0 ? f.total / largest : 0;
        f.mostUnfavourable = &f == most;
    }
    if (most)
        figures.mostUnfavourable = most->name;

    for (const LoopGroup& group : loops.groups) {
        GroupFigures g;
        g.loops = group.loops;
        std::vector<const SegmentLoop*> members;
        for (const QString& name : group.loops)
            if (const SegmentLoop* loop = loops.find(name))
                members.push_back(loop);
        if (!members.empty())
            for (const QString& number : members.front()->segments)
                if (std::all_of(members.begin(), members.end(),
                                [&](const SegmentLoop* l) { return l->segments.contains(number); }))
                    g.common << number;
        const QSet<QString> common(g.common.begin(), g.common.end());
        double max = 0;
        for (const SegmentLoop* loop : members) {
            LoopDifference d;
            d.loop = loop->name;
            d.nonCommon = sum(loop->segments, common);
            if (g.largest.isEmpty() || d.nonCommon > max) {
                g.largest = d.loop;
                max = d.nonCommon;
            }
            g.differences.push_back(d);
        }
        for (LoopDifference& d : g.differences) {
            d.difference = max != 0 ? (max - d.nonCommon) / max : 0;
            d.aboveLimit = d.difference > loops.limit + kLimitTolerance;
            g.aboveLimit = g.aboveLimit || d.aboveLimit;
        }
        figures.groups.push_back(g);
    }
    return figures;
}

QStringList LoopReportLines(const LoopsFigures& figures)
{
    const auto padded = [](const QString& text, int width) {
        return text + QString(std::max(0, width - DisplayWidth(text)), QLatin1Char(' '));
    };
    QStringList lines{QStringLiteral("    环路阻力计算结果"),
                      QStringLiteral("    ================")};
    for (const LoopFigures& f : figures.loops) {
        QString line = QStringLiteral(" 环路：") + padded(f.name, LoopNameSize * 2) +
                       QStringLiteral(" 管段数：") + FormatColumn(f.count, 4, 0) +
                       QStringLiteral("  总阻力(Pa)：") + FormatColumn(f.total, 10, 1) +
                       QStringLiteral("  占最大环路(%)：") + FormatColumn(f.share * 100, 6, 1);
        if (f.mostUnfavourable)
            line += QStringLiteral("  最不利环路");
        lines << line << QStringLiteral("   管段：") + f.segments.join(QLatin1Char(','));
        if (!f.missing.isEmpty())
            lines << QStringLiteral("   管段表中已没有管段：") + f.missing.join(QLatin1Char(','));
    }
    for (const GroupFigures& g : figures.groups) {
        lines << QStringLiteral(" 并联环路：") + g.loops.join(QStringLiteral("、")) +
                     QStringLiteral("  公共管段：") +
                     (g.common.isEmpty() ? QStringLiteral("无") : g.common.join(QLatin1Char(',')));
        for (const LoopDifference& d : g.differences) {
            QString line = QStringLiteral("   ") + padded(d.loop, LoopNameSize * 2) +
                           QStringLiteral(" 非公共管段阻力(Pa)：") +
                           FormatColumn(d.nonCommon, 10, 1) + QStringLiteral("  相对差额(%)：") +
                           FormatColumn(d.difference * 100, 6, 1);
            if (d.aboveLimit)
                line += QStringLiteral("  ") + aboveLimitNote(figures.limit);
            lines << line;
        }
    }
    lines << QStringLiteral("━━━━━━━━━━━━━━━━━");
    return lines;
}

// ---- Storage ------------------------------------------------------------------------

QString SegmentLoopsPath(const QString& tablePath)
{
    return ProjectBasePath(tablePath) + QStringLiteral(".HL");
}

QByteArray SegmentLoopsBytes(const SegmentLoops& loops)
{
    CheckSegmentLoops(loops);
    QByteArray bytes;
    const auto line = [&](const QString& key, const QString& text) {
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
            throw UserError(QStringLiteral("%1%2中有换行，无法保存！").arg(key, quoted(text)));
        bytes += (key + QLatin1Char(' ') + text).toUtf8() + "\r\n";
    };
    bytes += kMagic.toUtf8() + "\r\n";
    line(kLimitKey, shortest(loops.limit));
    for (const SegmentLoop& loop : loops.loops) {
        line(kLoopKey, loop.name);
        for (const QString& number : loop.segments)
            line(kSegmentKey, number);
    }
    for (const LoopGroup& group : loops.groups)
        line(kGroupKey, group.loops.join(QLatin1Char(',')));
    return bytes;
}

SegmentLoops ParseSegmentLoops(const QByteArray& bytes, const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    const auto notALoopsFile = [&] {
        return UserError(QStringLiteral("“%1”不是有效的环路文件！").arg(file));
    };
    if (bytes.size() > kMaxLoopsFileBytes)
        throw notALoopsFile();

    SegmentLoops loops;
    bool limitSeen = false;
    int lineNumber = 0;
    int loopLine = 0; // the line of the loop being read; 0 after its last segment
    QSet<QString> loopSegments, loopNames, groupKeys;
    const auto refusedAt = [&](int line, const QString& why) {
        return UserError(QStringLiteral("环路文件“%1”第%2行：%3").arg(file).arg(line).arg(why));
    };
    // A loop is checked whole once the next line shows that it ended, and
    // refused naming its own line.
    const auto endLoop = [&] {
        if (loopLine == 0)
            return;
        try {
            CheckLoop(loops.loops.back());
        } catch (const UserError& e) {
            throw refusedAt(loopLine, e.text());
        }
        loopLine = 0;
    };

    qsizetype start = 0;
    while (start < bytes.size()) {
        ++lineNumber;
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray raw = bytes.mid(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder decode(QStringDecoder::Utf8);
        const QString text = decode(raw);
        if (lineNumber == 1) {
            if (decode.hasError() || text != kMagic)
                throw notALoopsFile();
            continue;
        }
        const qsizetype space = text.indexOf(QLatin1Char(' '));
        const QString key = space < 0 ? text : text.left(space);
        const QString value = space < 0 ? QString() : text.mid(space + 1);
        try {
            if (decode.hasError() || text.contains(QLatin1Char('\r')))
                throw UserError(QStringLiteral("不是有效的UTF-8文字！"));
            if (key == kLimitKey) {
                if (limitSeen || !loops.loops.empty())
                    throw UserError(QStringLiteral("限值只能在各环路之前给出一次！"));
                limitSeen = true;
                loops.limit = ParseField(QStringLiteral("限值"), value);
                checkLimit(loops.limit);
            } else if (key == kLoopKey) {
                if (!loops.groups.empty())
                    throw UserError(QStringLiteral("环路须在各并联环路之前给出！"));
                endLoop();
                CheckLoopName(value);
                if (loopNames.contains(value))
                    throw UserError(QStringLiteral("已有名为%1的环路！").arg(quoted(value)));
                loopNames.insert(value);
                loops.loops.push_back({value, {}});
                loopSegments.clear();
                loopLine = lineNumber;
            } else if (key == kSegmentKey) {
                if (loopLine == 0)
                    throw UserError(QStringLiteral("管段须紧接在所属的环路之后给出！"));
                // The loop's rules for this segment alone: a loop of many
                // segments is read in one pass.
                SegmentLoop& loop = loops.loops.back();
                loop.segments << value;
                const bool fresh = !loopSegments.contains(value);
                loopSegments.insert(value);
                if (value.isEmpty() || characters(value) > kSegmentNumberSize || !fresh)
                    CheckLoop(loop); // says why
            } else if (key == kGroupKey) {
                endLoop();
                const LoopGroup group{value.split(QLatin1Char(','))};
                checkGroupNames(group, loopNames);
                if (groupKeys.contains(groupKey(group)))
                    throw UserError(sameGroupMessage(group));
                groupKeys.insert(groupKey(group));
                loops.groups.push_back(group);
            } else {
                throw UserError(QStringLiteral("无法识别的内容%1！").arg(quoted(text)));
            }
        } catch (const UserError& e) {
            if (e.text().startsWith(QStringLiteral("环路文件“")))
                throw; // a loop refused at its own line
            throw refusedAt(lineNumber, e.text());
        }
    }
    if (lineNumber == 0)
        throw notALoopsFile();
    endLoop();
    return loops;
}

SegmentLoops ReadSegmentLoops(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        throw UserError(
            QStringLiteral("无法读取环路文件“%1”：%2")
                .arg(QDir::toNativeSeparators(path), FileDeviceReason(file.error(), error)));
    }
    const QByteArray bytes = file.read(kMaxLoopsFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        const int error = errno;
        throw UserError(
            QStringLiteral("无法读取环路文件“%1”：%2")
                .arg(QDir::toNativeSeparators(path), FileDeviceReason(file.error(), error)));
    }
    return ParseSegmentLoops(bytes, path);
}

void WriteSegmentLoops(const QString& path, const SegmentLoops& loops)
{
    if (loops.empty()) {
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            RequireRegularFileTarget(path);
            QFile file(path);
            if (!file.remove()) {
                const int error = errno;
                throw UserError(QStringLiteral("无法删除环路文件“%1”：%2")
                                    .arg(QDir::toNativeSeparators(path),
                                         FileDeviceReason(file.error(), error)));
            }
        }
        return;
    }
    const QByteArray bytes = SegmentLoopsBytes(loops);
    PendingFile file(path);
    file.write(bytes);
    file.commit();
}

// ---- The workbook sheet ------------------------------------------------------------

WorkbookSheet LoopWorkbookSheet(const QString& title, const QString& time,
                                const QString& projectFileName, const LoopsFigures& figures)
{
    // The sheet's own columns, as a table of its rows.
    const auto text = [](const char* name) {
        return FieldDeclaration{.name = QString::fromLatin1(name), .type = FieldType::Text};
    };
    const auto number = [](const char* name) {
        return FieldDeclaration{.name = QString::fromLatin1(name), .type = FieldType::Double};
    };
    TableDeclaration declaration{{text("Loop"), text("Segments"), number("Count"), number("Total"),
                                  number("Share"), text("Group"), text("Common"),
                                  number("NonCommon"), number("Difference"), text("Note")}};
    constexpr int kLabelBytes = 20;
    WorkbookLayout layout{
        .title = title,
        .headings =
            {
                {QStringLiteral("计算时间： ")},
                {QStringLiteral("文件名:    ")},
                {QStringLiteral("最不利环路："), kLabelBytes},
                {QStringLiteral("允许相对差额(%)："), kLabelBytes},
            },
        .titleRow = 8,
        .columns =
            {
                {QStringLiteral("环路名称"), {}, QStringLiteral("Loop"), {}},
                {QStringLiteral("管段"), {}, QStringLiteral("Segments"), {}},
                {QStringLiteral("管段数"), {}, QStringLiteral("Count"), QStringLiteral("0")},
                {QStringLiteral("总阻力"), QStringLiteral("(Pa)"), QStringLiteral("Total"),
                 QStringLiteral("0.0")},
                {QStringLiteral("占最大环路"), QStringLiteral("(%)"), QStringLiteral("Share"),
                 QStringLiteral("0.0")},
                {QStringLiteral("并联环路"), {}, QStringLiteral("Group"), {}},
                {QStringLiteral("公共管段"), {}, QStringLiteral("Common"), {}},
                {QStringLiteral("非公共管段阻力"), QStringLiteral("(Pa)"),
                 QStringLiteral("NonCommon"), QStringLiteral("0.0")},
                {QStringLiteral("相对差额"), QStringLiteral("(%)"), QStringLiteral("Difference"),
                 QStringLiteral("0.0")},
                {QStringLiteral("说明"), {}, QStringLiteral("Note"), {}},
            },
    };
    auto records = std::make_shared<std::vector<RecordTableStore::Record>>();
    const auto row = [&](std::vector<QVariant> values) {
        values.resize(declaration.fields.size());
        records->push_back({qint64(records->size() + 1), std::move(values)});
    };
    const QString comma = QStringLiteral(",");
    for (const LoopFigures& f : figures.loops) {
        QStringList notes;
        if (f.mostUnfavourable)
            notes << QStringLiteral("最不利环路");
        if (!f.missing.isEmpty())
            notes << QStringLiteral("管段表中已没有管段") + f.missing.join(comma);
        row({f.name,
             f.segments.join(comma),
             double(f.count),
             f.total,
             f.share * 100,
             {},
             {},
             {},
             {},
             notes.isEmpty() ? QVariant() : QVariant(notes.join(QStringLiteral("；")))});
    }
    for (const GroupFigures& g : figures.groups)
        for (const LoopDifference& d : g.differences)
            row({d.loop,
                 {},
                 {},
                 {},
                 {},
                 groupName({g.loops}),
                 g.common.isEmpty() ? QStringLiteral("无") : g.common.join(comma),
                 d.nonCommon,
                 d.difference * 100,
                 d.aboveLimit ? QVariant(aboveLimitNote(figures.limit)) : QVariant()});
    const QStringList values{time, projectFileName, figures.mostUnfavourable,
                             percentText(figures.limit)};
    return {QString::fromUtf8(LoopSheetName), std::move(layout),
            [values](double) { return values; }, std::move(declaration),
            [records](const RecordVisitor& visit) {
                for (const RecordTableStore::Record& record : *records)
                    visit(record);
            }};
}

void WriteSegmentWorkbook(const QString& path, const WorkbookSheet& segments,
                          const QString& numberField, const SegmentLoops& loops,
                          const QString& loopTitle, const QString& time,
                          const QString& projectFileName)
{
    if (loops.empty()) {
        WriteResultsWorkbookSheets(path, {segments});
        return;
    }
    const LoopsFigures figures =
        ComputeLoopFigures(loops, ResistancesOf(segments.declaration, segments.records, numberField,
                                                QStringLiteral("ZL_z")));
    WriteResultsWorkbookSheets(
        path, {segments, LoopWorkbookSheet(loopTitle, time, projectFileName, figures)});
}
