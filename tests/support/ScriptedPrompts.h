// Prompts for window tests: answers come from queues the test fills, every
// message shown is recorded. An unanswered question fails loudly.
#pragma once

#include "app/Prompts.h"

#include <QFont>
#include <QQueue>
#include <QString>
#include <QStringList>

class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts() { installPrompts(this); }
    ~ScriptedPrompts() override { installPrompts(nullptr); }

    // Answers, consumed in order. An empty path answers "cancel".
    QQueue<bool> confirmAnswers;
    QQueue<QString> saveAnswers;
    QQueue<QString> openAnswers;
    // A font answer: the font confirmed; no answer queued means cancel.
    QQueue<QFont> fontAnswers;
    // A print answer: the PDF file the job goes to; empty means cancel.
    QQueue<QString> printAnswers;
    QQueue<bool> setupAnswers;
    // An index in the list offered; -1 answers "cancel".
    QQueue<int> itemAnswers;

    // What was shown.
    QStringList errors;
    QStringList confirmations;
    QList<DefaultAnswer> confirmDefaults; // the default answer of each question
    QList<FileDialogOptions> saveDialogs;
    QList<FileDialogOptions> openDialogs;
    int fontDialogs = 0;
    int printDialogs = 0;
    int setupDialogs = 0;
    QList<QStringList> itemChoices; // the items of each list offered
    int lastItemOffered = -1;       // the index the last list offered first
    QFont lastFontOffered;

    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text, DefaultAnswer byDefault) override;
    QString saveFile(QWidget* parent, const FileDialogOptions& options) override;
    QString openFile(QWidget* parent, const FileDialogOptions& options) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    int chooseItem(QWidget* parent, const QString& title, const QString& label,
                   const QStringList& items, int current) override;

    QString takeError() { return errors.isEmpty() ? QString() : errors.takeFirst(); }
};
