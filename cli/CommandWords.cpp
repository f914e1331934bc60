#include "cli/CommandWords.h"

#include "app/Numbers.h"

bool CommandWords::has(const char* optionOrFlag) const
{
    const QString word = QString::fromLatin1(optionOrFlag);
    return options.contains(word) || flags.contains(word) || repeated.contains(word);
}

CommandWords ParseCommandWords(const QStringList& args, const CommandGrammar& grammar)
{
    CommandWords out;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString& word = args[k];
        if (grammar.flags.contains(word)) {
            if (out.flags.contains(word))
                throw UserError(QStringLiteral("选项 %1 给出了两次").arg(word));
            out.flags << word;
            continue;
        }
        if (grammar.repeatable.contains(word)) {
            if (k + 1 >= args.size())
                throw UserError(QStringLiteral("选项 %1 缺少值").arg(word));
            const QString& value = args[++k];
            if (value.isEmpty())
                throw UserError(QStringLiteral("选项 %1 的值不能为空").arg(word));
            out.repeated[word] << value;
            continue;
        }
        if (grammar.options.contains(word)) {
            if (out.options.contains(word))
                throw UserError(QStringLiteral("选项 %1 给出了两次").arg(word));
            if (k + 1 >= args.size())
                throw UserError(QStringLiteral("选项 %1 缺少值").arg(word));
            const QString& value = args[++k];
            if (value.isEmpty())
                throw UserError(QStringLiteral("选项 %1 的值不能为空").arg(word));
            out.options.insert(word, value);
            continue;
        }
        const qsizetype eq = word.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            const QString key = word.left(eq).toLower();
            if (grammar.keys.contains(key)) {
                if (out.given.contains(key))
                    throw UserError(QStringLiteral("参数 %1 给出了两次").arg(word.left(eq)));
                out.given.insert(key, word.mid(eq + 1));
                out.keys << key;
                continue;
            }
        } else if (grammar.positional && !word.startsWith(QLatin1String("--"))) {
            out.positional << word;
            continue;
        }
        throw UserError(QStringLiteral("无法识别的参数: %1（见 ventacalc-cli %2 --help）")
                            .arg(QuotedInput(word), QLatin1String(grammar.command)));
    }
    return out;
}

void CheckBatchWords(const CommandWords& words)
{
    const bool csv = words.has("--csv");
    if (words.has("--threads") && !csv)
        throw UserError(QStringLiteral("选项 --threads 只用于 --csv 批量计算"));
    if (csv && words.has("--json"))
        throw UserError(QStringLiteral("选项 --json 不能与 --csv 一起使用：批量计算输出CSV"));
    if (words.has("--xlsx") && words.has("--json"))
        throw UserError(
            QStringLiteral("选项 --json 不能与 --xlsx 一起使用：--xlsx 写出计算结果表"));
}
