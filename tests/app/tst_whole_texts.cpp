// Every window of the program at its fixed size, in the program's fonts, with
// the longest texts the shipped data and the stores put into it: no caption,
// button, list or drop-down item, grid cell or field shows less than its whole
// text, and the resistance grids show every column without scrolling.
#include "airtreat/Unit_Air_treat.h"
#include "airtreat/Unit_G.h"
#include "airtreat/Unit_IDTu_Treat.h"
#include "app/DataDir.h"
#include "app/FormWidgets.h"
#include "app/Unit_message.h"
#include "chart/Unit_ID_Graphics.h"
#include "comfort/Unit_PMV.h"
#include "convert/Unit_BH.h"
#include "duct/Unit_Adv.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "psychro/Unit_air_id.h"
#include "psychro/Unit_atm.h"
#include "psychro/Unit_wea.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "shell/Unit_main.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace
{

// The longest names the shipped data holds, and the longest segment number
// a segment table stores (12 characters; capitals and digits, as numbers
// like "GS-01-02" are written).
const QString kLongestFitting = QStringLiteral("90°煨弯及乙字弯");
const QString kLongestPipeType = QStringLiteral("焊接钢管(GB3092)");
const QString kLongestProvince = QStringLiteral("黑龙江");
const QString kLongestCityProvince = QStringLiteral("新疆");
const QString kLongestCity = QStringLiteral("克孜勒苏柯尔克孜自治州(乌恰)");
const QString kLongSegmentNo = QStringLiteral("WM-0102-0304");

QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// One text that does not fit: where, what, how wide it is and how much room it has.
struct Clip {
    QString where;
    QString text;
    int needed, room;
};

class Walk
{
public:
    QList<Clip> clips;

    void window(QWidget* window)
    {
        name_ = window->objectName().isEmpty()
                    ? QString::fromLatin1(window->metaObject()->className())
                    : window->objectName();
        const int titleRoom = TitleBarWidth(window->windowTitle(), window->windowFlags());
        check(QStringLiteral("title bar"), window->windowTitle(), titleRoom, window->width());
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window))
                continue;
            if (auto* label = qobject_cast<QLabel*>(w))
                this->label(label);
            else if (auto* radio = qobject_cast<QRadioButton*>(w))
                button(radio, QStyle::SE_RadioButtonContents);
            else if (auto* check = qobject_cast<QCheckBox*>(w))
                button(check, QStyle::SE_CheckBoxContents);
            else if (auto* push = qobject_cast<QPushButton*>(w))
                button(push, QStyle::SE_PushButtonContents);
            else if (auto* group = qobject_cast<QGroupBox*>(w))
                this->group(group);
            else if (auto* box = qobject_cast<QComboBox*>(w))
                comboBox(box);
            else if (auto* list = qobject_cast<QListWidget*>(w))
                items(list, list->objectName());
            else if (auto* grid = qobject_cast<QTableView*>(w))
                this->grid(grid);
            else if (auto* edit = qobject_cast<QLineEdit*>(w);
                     edit && !qobject_cast<QComboBox*>(edit->parentWidget()))
                field(edit, edit->objectName());
        }
    }

private:
    QString name_;

    void check(const QString& what, const QString& text, int needed, int room)
    {
        if (needed > room)
            clips << Clip{name_ + QLatin1Char('/') + what, text, needed, room};
    }

    void label(QLabel* label)
    {
        if (label->text().isEmpty() || label->wordWrap())
            return;
        const int room =
            label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
        if (label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            document.setHtml(label->text());
            check(label->objectName(), document.toPlainText(), qCeil(document.idealWidth()), room);
            return;
        }
        const QString shown = label->buddy() ? withoutMnemonic(label->text()) : label->text();
        for (const QString& line : shown.split(QLatin1Char('\n')))
            check(label->objectName(), line, label->fontMetrics().horizontalAdvance(line), room);
    }

    void button(QAbstractButton* b, QStyle::SubElement contents)
    {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const QRect room = b->style()->subElementRect(contents, &option, b);
        const QString shown = withoutMnemonic(b->text());
        check(b->objectName(), shown, b->fontMetrics().horizontalAdvance(shown), room.width());
    }

    void group(QGroupBox* group)
    {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        option.textAlignment = group->alignment();
        option.lineWidth = 1;
        const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxFrame, group);
        const QString shown = withoutMnemonic(group->title());
        // The title sits on the frame's top line, indented from its corners.
        check(group->objectName(), shown, group->fontMetrics().horizontalAdvance(shown),
              frame.width() - 16);
    }

    // An item's text against the part of rect the style draws text in (what
    // is wider is drawn elided).
    void item(QAbstractItemView* view, const QModelIndex& index, QRect rect, const QString& where)
    {
        QStyleOptionViewItem option;
        option.initFrom(view);
        option.rect = rect;
        option.font = view->font();
        option.fontMetrics = view->fontMetrics();
        option.text = index.data().toString();
        option.features = QStyleOptionViewItem::HasDisplay;
        option.index = index;
        option.widget = view;
        const QRect text =
            view->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
        // The style draws the text inside that part with a margin at each side.
        const int margin =
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        check(where, option.text, qCeil(QFontMetricsF(option.font).horizontalAdvance(option.text)),
              text.width() - 2 * margin);
    }

    // Each item within the visible width of the view.
    void items(QAbstractItemView* view, const QString& where)
    {
        QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const QRect rect(0, 0, view->viewport()->width(),
                             view->sizeHintForIndex(index).height());
            item(view, index, rect, where);
        }
    }

    // The field's text within its frame and margins; a text wider than the
    // field is shown whole in its tooltip.
    void field(QLineEdit* edit, const QString& where)
    {
        const QString text = edit->text();
        if (text.isEmpty() || edit->toolTip() == text)
            return;
        const QMargins margins = edit->textMargins();
        const int frame =
            edit->hasFrame()
                ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                : 0;
        // QLineEdit keeps 2 pixels between its frame and its text at each side.
        const int room = edit->width() - 2 * frame - 4 - margins.left() - margins.right();
        check(where, text, edit->fontMetrics().horizontalAdvance(text), room);
    }

    void comboBox(QComboBox* box)
    {
        if (box->isEditable())
            field(box->lineEdit(), box->objectName());
        if (box->count() == 0)
            return;
        box->showPopup();
        QCoreApplication::processEvents();
        items(box->view(), box->objectName() + QStringLiteral(" popup"));
        box->hidePopup();
    }

    // Every column within the view with the vertical scroll bar shown (a long
    // table shows it), and every title and cell within its column.
    void grid(QTableView* grid)
    {
        const QString where = grid->objectName();
        QHeaderView* header = grid->horizontalHeader();
        const int bar = grid->verticalScrollBar()->isVisible()
                            ? 0
                            : grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        const int room = grid->viewport()->width() - bar;
        const int columns = grid->model()->columnCount();
        int right = 0;
        for (int column = 0; column < columns; ++column) {
            const QString title = grid->model()->headerData(column, Qt::Horizontal).toString();
            right += header->sectionSize(column);
            check(where + QStringLiteral(" columns"), title, right, room);
            const int margin =
                header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            check(where + QStringLiteral(" title"), title,
                  header->fontMetrics().horizontalAdvance(title) + 2 * margin,
                  header->sectionSize(column));
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                const QModelIndex index = grid->model()->index(row, column);
                item(grid, index, grid->visualRect(index), where + QStringLiteral(" cell"));
            }
        }
    }
};

} // namespace

class TestWholeTexts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;

    static void show(QWidget* window)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCoreApplication::processEvents();
    }
    static void select(QListWidget* list, const QString& text)
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        list->setCurrentItem(found.first());
    }

    // Two pipe segments, one with the longest number, type and fitting, and
    // the project's workbook path (longer than its field).
    void storePipeSegments(Form_ZL_pipe* pipe)
    {
        pipe->ComboBox_pipe->setCurrentIndex(pipe->ComboBox_pipe->findText(kLongestPipeType));
        for (const QString& no : {QStringLiteral("1"), kLongSegmentNo}) {
            pipe->Edit_pipe_No->setText(no);
            pipe->RadioButton_G->click();
            pipe->Edit_G->setText(QStringLiteral("1.0"));
            pipe->RadioButton_DN->click();
            pipe->ComboBox_DN->setEditText(QStringLiteral("25"));
            pipe->Edit_L->setText(QStringLiteral("10"));
            pipe->ComboBox_JZ_Ty->setEditText(kLongestFitting);
            pipe->Edit_JZ_n->setText(QStringLiteral("2"));
            QTest::mouseClick(pipe->Button_Save, Qt::LeftButton);
        }
        QCOMPARE(pipe->DBGrid1->model()->rowCount(), 2);
        pipe->Edit_FileName->setText(dir_.filePath(QStringLiteral("供暖系统/一号楼/水管阻力.xls")));
    }
    void storeDuctSegments(Form_ZL_Duct* duct)
    {
        for (const QString& no : {QStringLiteral("1"), kLongSegmentNo}) {
            duct->Edit_duct_No->setText(no);
            duct->Edit_G->setText(QStringLiteral("5000"));
            duct->RadioButton_Yuan->click();
            duct->ComboBox_DN->setEditText(QStringLiteral("500"));
            duct->Edit_L->setText(QStringLiteral("10"));
            duct->Edit_JZ_K->setText(QStringLiteral("0.5"));
            duct->Edit_JZ_n->setText(QStringLiteral("2"));
            QTest::mouseClick(duct->Button_Save, Qt::LeftButton);
        }
        QCOMPARE(duct->DBGrid1->model()->rowCount(), 2);
        duct->Edit_FileName->setText(dir_.filePath(QStringLiteral("通风系统/一号楼/风管阻力.xls")));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        RegisterDataSeeds();
        DataDir::setOverride(dir_.path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
    }
    void cleanupTestCase()
    {
        prompts_.reset();
        DataDir::setOverride(QString());
    }

    void everyWindowShowsItsTextsWhole()
    {
        AppWindows windows;
        const QList<QDialog*> all{windows.main,
                                  windows.ductAdvanced,
                                  windows.message,
                                  windows.duct,
                                  windows.pipeSizeSetting,
                                  windows.pipeCoefficients,
                                  windows.pipeSize,
                                  windows.pipeTypes,
                                  windows.pipe,
                                  windows.wea,
                                  windows.airTreat,
                                  windows.atm,
                                  windows.airFlows,
                                  windows.treatChart,
                                  windows.chart,
                                  windows.unit,
                                  windows.id,
                                  windows.pmv};
        QCOMPARE(all.size(), 18);
        Walk walk;
        for (QDialog* window : all) {
            show(window);
            if (window == windows.pipe) {
                storePipeSegments(windows.pipe);
                // A stored segment loaded back into the fields.
                windows.pipe->DBGrid1->selectRow(1);
                QTest::mouseClick(
                    windows.pipe->DBGrid1->viewport(), Qt::LeftButton, {},
                    windows.pipe->DBGrid1->visualRect(windows.pipe->DBGrid1->model()->index(1, 0))
                        .center());
                QCOMPARE(windows.pipe->Edit_pipe_No->text(), kLongSegmentNo);
            } else if (window == windows.duct) {
                storeDuctSegments(windows.duct);
            } else if (window == windows.pipeCoefficients) {
                select(windows.pipeCoefficients->ListBox_Valve, kLongestFitting);
                QTest::mouseClick(windows.pipeCoefficients->Button_edit, Qt::LeftButton);
                QCOMPARE(windows.pipeCoefficients->Edit_name->text(), kLongestFitting);
            } else if (window == windows.pipeTypes) {
                select(windows.pipeTypes->ListBox_pipe_ty, kLongestPipeType);
                QTest::mouseClick(windows.pipeTypes->Button_edit, Qt::LeftButton);
                QCOMPARE(windows.pipeTypes->Edit_name->text(), kLongestPipeType);
            } else if (window == windows.wea) {
                select(windows.wea->ListBox_Pro, kLongestCityProvince);
                select(windows.wea->ListBox_City, kLongestCity);
                QVERIFY(!windows.wea->ListBox_Pro->findItems(kLongestProvince, Qt::MatchExactly)
                             .isEmpty());
            }
            QCoreApplication::processEvents();
            walk.window(window);
            window->hide();
        }
        for (const Clip& clip : walk.clips)
            qWarning().noquote() << clip.where << clip.text << "needs" << clip.needed << "has"
                                 << clip.room;
        QCOMPARE(walk.clips.size(), 0);
        // The tooltip carries the whole path of the results workbook.
        QCOMPARE(windows.pipe->Edit_FileName->toolTip(), windows.pipe->Edit_FileName->text());
    }
};

QTEST_MAIN(TestWholeTexts)
#include "tst_whole_texts.moc"
