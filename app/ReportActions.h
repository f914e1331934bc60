// The report buttons of a calculator window: "新建(&N)", "打开(&O)",
// "保存(&S)", "打印(&P)" and "字体设置(&F)". The window gives its lines.
#pragma once

#include "app/TextReport.h"

#include <QFont>
#include <QString>
#include <QStringList>

class QPushButton;
class QWidget;

class ReportActions
{
public:
    // newTitle/openTitle: the dialog titles ("新建", "打开文件"); empty for
    // the system's own. save is disabled until a file is chosen.
    ReportActions(QWidget* window, QPushButton* save, QString newTitle, QString openTitle);

    void chooseNew();
    void chooseExisting();
    void save(const QStringList& lines);
    void print(const QStringList& lines);
    void chooseFont();
    // Showing the window: printing goes back to "宋体" 12 pt.
    void windowShown();

    bool fontChosen() const { return fontChosen_; }
    QFont printFont() const;
    const TextReportFile& file() const { return file_; }

private:
    QWidget* window_;
    QPushButton* save_;
    QString newTitle_, openTitle_;
    TextReportFile file_;
    QFont dialogFont_;
    bool fontChosen_ = false;
};
