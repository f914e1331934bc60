#include "app/FormWidgets.h"

#include "app/RecordTableStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

QLineEdit* NewEdit(QWidget* parent, const char* name, QRect geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

void ShowCurrentRecord(QTableView* grid, const RecordTableStore& table)
{
    const int row = table.currentIndex();
    if (row < 0 || !grid->model() || row >= grid->model()->rowCount())
        return;
    const QModelIndex index = grid->model()->index(row, 0);
    grid->setCurrentIndex(index);
    grid->scrollTo(index);
}
