// The main menu: one flat button per calculator on the background picture.
#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <functional>

class QPushButton;

// One row of the menu: the button's name and its caption.
struct MenuEntry {
    QString name;
    QString caption;
};

class Form_main : public QDialog
{
    Q_OBJECT
public:
    // The seven calculator buttons in menu order and "退出". A calculator's
    // button stays disabled until its window is attached or promised.
    explicit Form_main(QWidget* parent = nullptr);
    void attach(const QString& buttonName, QDialog* window);
    // The calculators' windows are still to be made: every calculator button
    // is enabled now, and createWindows, which attaches them, runs (once) on
    // the first click or openWindow that finds them missing, if
    // createPromisedWindows has not run it before.
    void promiseWindows(std::function<void()> createWindows);
    void createPromisedWindows();
    // Opens the window attached to the button as a click on the button does:
    // modally, returning once it is closed again.
    void openWindow(const QString& buttonName);

    QList<QPushButton*> buttons() const { return buttons_; }
    QPushButton* SpeedButton_Quit;

signals:
    // The main menu was closed ("退出" or the frame): the program ends.
    void closed();

protected:
    // The frame's close box, Esc and "退出" all end here.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SpeedButtonClick(QPushButton* button);
    void SpeedButton_QuitClick();

    QList<QPushButton*> buttons_;
    QHash<QPushButton*, QDialog*> windows_;
    std::function<void()> createWindows_;
};

// The menu: button names and captions in order, "退出" last.
QList<MenuEntry> MainMenuLayout();
