// The please-wait window shown while results are written to a workbook.
#pragma once

#include <QDialog>

class Form_message : public QDialog
{
    Q_OBJECT
public:
    explicit Form_message(QWidget* parent = nullptr);
};
