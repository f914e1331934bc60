// The please-wait window shown while results are written to a workbook.
#pragma once

#include <QDialog>

class Form_message : public QDialog
{
    Q_OBJECT
public:
    explicit Form_message(QWidget* parent = nullptr);

    // Shows the window and returns once its text is on the screen: the work
    // that follows blocks the event loop, so a window merely shown would stay
    // an empty frame for the whole of it (the window system exposes a new
    // window only after a round trip). Waits at most a second for that.
    void showPainted();
};
