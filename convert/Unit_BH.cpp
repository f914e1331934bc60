#include "convert/Unit_BH.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "convert/UnitTables.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <array>
#include <vector>

// The controls of one page, as members of the window, with their names.
struct Form_unit::PageControls {
    template <class T> struct Named {
        T* Form_unit::*member;
        const char* name;
    };
    using Handler = void (Form_unit::*)();

    Named<QLineEdit> input;
    std::vector<Named<QRadioButton>> radios; // row order of the page's units
    std::vector<Named<QLineEdit>> results;
    Named<QPushButton> equal, cal, clear, quit;
    Handler calClick, clearClick, quitClick;
};

#define CONTROL(x)                                                                                 \
    {                                                                                              \
        &Form_unit::x, #x                                                                          \
    }

const Form_unit::PageControls& Form_unit::controlsOf(int page)
{
    static const std::array<PageControls, 6> pages{{
        {CONTROL(Edit18),
         {CONTROL(RadioButton17), CONTROL(RadioButton18), CONTROL(RadioButton19),
          CONTROL(RadioButton20), CONTROL(RadioButton21)},
         {CONTROL(Edit19), CONTROL(Edit20), CONTROL(Edit21), CONTROL(Edit22), CONTROL(Edit23)},
         CONTROL(Button_L_eq),
         CONTROL(Button_L_c),
         CONTROL(Button_L_clear),
         CONTROL(Button_L_quit),
         &Form_unit::Button_L_cClick,
         &Form_unit::Button_L_clearClick,
         &Form_unit::Button_L_quitClick},
        {CONTROL(Edit24),
         {CONTROL(RadioButton22), CONTROL(RadioButton23), CONTROL(RadioButton24),
          CONTROL(RadioButton25)},
         {CONTROL(Edit25), CONTROL(Edit26), CONTROL(Edit27), CONTROL(Edit28)},
         CONTROL(Button_M_eq),
         CONTROL(Button_M_c),
         CONTROL(Button_M_clear),
         CONTROL(Button_M_quit),
         &Form_unit::Button_M_cClick,
         &Form_unit::Button_M_clearClick,
         &Form_unit::Button_M_quitClick},
        {CONTROL(Edit0),
         {CONTROL(RadioButton1), CONTROL(RadioButton2), CONTROL(RadioButton3),
          CONTROL(RadioButton4), CONTROL(RadioButton5), CONTROL(RadioButton6),
          CONTROL(RadioButton7), CONTROL(RadioButton8), CONTROL(RadioButton9)},
         {CONTROL(Edit1), CONTROL(Edit2), CONTROL(Edit3), CONTROL(Edit4), CONTROL(Edit5),
          CONTROL(Edit6), CONTROL(Edit7), CONTROL(Edit8), CONTROL(Edit9)},
         CONTROL(Button_p_eq),
         CONTROL(Button_p_cal),
         CONTROL(Button_p_clear),
         CONTROL(Button_p_quit),
         &Form_unit::Button_p_calClick,
         &Form_unit::Button_p_clearClick,
         &Form_unit::Button_p_quitClick},
        {CONTROL(Edit10),
         {CONTROL(RadioButton10), CONTROL(RadioButton11), CONTROL(RadioButton12),
          CONTROL(RadioButton13), CONTROL(RadioButton14), CONTROL(RadioButton15),
          CONTROL(RadioButton16)},
         {CONTROL(Edit11), CONTROL(Edit12), CONTROL(Edit13), CONTROL(Edit14), CONTROL(Edit15),
          CONTROL(Edit16), CONTROL(Edit17)},
         CONTROL(Button_N_eq),
         CONTROL(Button_N_c),
         CONTROL(Button_N_clear),
         CONTROL(Button_N_quit),
         &Form_unit::Button_N_cClick,
         &Form_unit::Button_N_clearClick,
         &Form_unit::Button_N_quitClick},
        {CONTROL(Edit29),
         {CONTROL(RadioButton26), CONTROL(RadioButton27), CONTROL(RadioButton28),
          CONTROL(RadioButton29), CONTROL(RadioButton30), CONTROL(RadioButton31),
          CONTROL(RadioButton32)},
         {CONTROL(Edit30), CONTROL(Edit31), CONTROL(Edit32), CONTROL(Edit33), CONTROL(Edit34),
          CONTROL(Edit35), CONTROL(Edit36)},
         CONTROL(Button_E_eq),
         CONTROL(Button1),
         CONTROL(Button2),
         CONTROL(Button3),
         &Form_unit::Button1Click,
         &Form_unit::Button2Click,
         &Form_unit::Button3Click},
        {CONTROL(Edit39),
         {CONTROL(RadioButton35), CONTROL(RadioButton36), CONTROL(RadioButton37)},
         {CONTROL(Edit40), CONTROL(Edit41), CONTROL(Edit42)},
         CONTROL(Button_MD_eq),
         CONTROL(Button_MD_cal),
         CONTROL(Button_MD_clear),
         CONTROL(Button_MD_quit),
         &Form_unit::Button_MD_calClick,
         &Form_unit::Button_MD_clearClick,
         &Form_unit::Button_MD_quitClick},
    }};
    return pages.at(page);
}

#undef CONTROL

namespace
{
// Page geometry, pixels: one row per unit; input, radio buttons, "=",
// results and captions from left to right; the page's buttons at the right.
constexpr int kRowTop = 6;
constexpr int kRowPitch = 23;
constexpr int kRowHeight = 20;
constexpr int kInputX = 6, kInputWidth = 86;
constexpr int kRadioX = 98, kRadioWidth = 84;
constexpr int kEqualX = 184, kEqualWidth = 22, kEqualHeight = 40;
constexpr int kResultX = 210, kResultWidth = 104;
constexpr int kCaptionX = 318, kCaptionWidth = 58;
constexpr int kButtonX = 378, kButtonWidth = 48, kButtonHeight = 24, kButtonTop = 128;
constexpr int kButtonPitch = 30;

template <class T> T* make(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

Form_unit::Form_unit(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("常用单位换算器"));
    setFont(SongFontPx(12));
    setFixedSize(444, 262);

    PageControl1 = make<QTabWidget>(this, "PageControl1");
    PageControl1->setGeometry(4, 4, 436, 254);

    const auto pages = ConversionPages();
    for (int p = 0; p < int(pages.size()); ++p) {
        const ConversionPage& page = pages[p];
        const PageControls& c = controlsOf(p);
        auto* sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(p + 1));
        const int rows = int(page.units.size());

        // Created in tab order: input, radio buttons, "=", results, buttons.
        QLineEdit* input = this->*c.input.member = make<QLineEdit>(sheet, c.input.name);
        input->setGeometry(kInputX, kRowTop, kInputWidth, kRowHeight + 1);

        unitGroups_[p] = new QButtonGroup(this);
        for (int r = 0; r < rows; ++r) {
            QRadioButton* radio = this->*c.radios[r].member =
                                      make<QRadioButton>(sheet, c.radios[r].name);
            radio->setText(page.units[r].displayName());
            radio->setGeometry(kRadioX, kRowTop + r * kRowPitch, kRadioWidth, kRowHeight);
            unitGroups_[p]->addButton(radio, r);
        }
        (this->*c.radios[0].member)->setChecked(true);

        QPushButton* equal = this->*c.equal.member = make<QPushButton>(sheet, c.equal.name);
        equal->setText(QStringLiteral("="));
        equal->setGeometry(kEqualX, kRowTop + (rows * kRowPitch - kEqualHeight) / 2, kEqualWidth,
                           kEqualHeight);

        for (int r = 0; r < rows; ++r) {
            QLineEdit* result = this->*c.results[r].member =
                                    make<QLineEdit>(sheet, c.results[r].name);
            result->setReadOnly(true);
            result->setGeometry(kResultX, kRowTop + r * kRowPitch, kResultWidth, kRowHeight);
            auto* caption = new QLabel(page.units[r].richName(), sheet);
            caption->setTextFormat(Qt::RichText);
            caption->setGeometry(kCaptionX, kRowTop + r * kRowPitch, kCaptionWidth, kRowHeight);
        }

        const std::array<std::pair<PageControls::Named<QPushButton>, QString>, 3> buttons{{
            {c.cal, QStringLiteral("计算")},
            {c.clear, QStringLiteral("清空")},
            {c.quit, QStringLiteral("退出")},
        }};
        for (int b = 0; b < 3; ++b) {
            QPushButton* button = this->*buttons[b].first.member =
                                      make<QPushButton>(sheet, buttons[b].first.name);
            button->setText(buttons[b].second);
            button->setGeometry(kButtonX, kButtonTop + b * kButtonPitch, kButtonWidth,
                                kButtonHeight);
        }
        // Which button Enter presses is the window's choice, as the page changes.
        for (QPushButton* button : sheet->findChildren<QPushButton*>())
            button->setAutoDefault(false);

        ConnectGuarded(equal, &QPushButton::clicked, this, c.calClick);
        ConnectGuarded(this->*c.cal.member, &QPushButton::clicked, this, c.calClick);
        ConnectGuarded(this->*c.clear.member, &QPushButton::clicked, this, c.clearClick);
        ConnectGuarded(this->*c.quit.member, &QPushButton::clicked, this, c.quitClick);

        PageControl1->addTab(sheet, page.title);
    }
    PageControl1->setCurrentIndex(kFirstShownPage);
    // Enter in a page's field calculates that page.
    const auto calculatesPage = [this](int page) {
        SetEnterAction(this, this->*controlsOf(page).cal.member);
    };
    SetUpKeyboard(this, nullptr);
    calculatesPage(PageControl1->currentIndex());
    connect(PageControl1, &QTabWidget::currentChanged, this, calculatesPage);
}

int Form_unit::selectedUnit(int page) const
{
    return unitGroups_[page]->checkedId();
}

void Form_unit::calculatePage(int page)
{
    const PageControls& c = controlsOf(page);
    const QString text = (this->*c.input.member)->text();
    if (text.isEmpty()) {
        prompts().error(this, QStringLiteral("请输入要换算的数据"));
        return;
    }
    // A text that is not a number (named by the page's caption: the field
    // has no label of its own), or a value whose results overflow, ends
    // here, before any result is written.
    const ConversionPage& shown = ConversionPages()[page];
    const std::vector<double> values =
        ConvertToAllUnits(shown, selectedUnit(page), ParseField(shown.title, text));
    for (size_t r = 0; r < values.size(); ++r)
        (this->*c.results[r].member)->setText(FormatConverted(values[r]));
}

void Form_unit::clearPage(int page)
{
    const PageControls& c = controlsOf(page);
    (this->*c.input.member)->clear();
    for (const auto& result : c.results)
        (this->*result.member)->clear();
}

void Form_unit::Button_L_cClick()
{
    calculatePage(0);
}
void Form_unit::Button_L_clearClick()
{
    clearPage(0);
}
void Form_unit::Button_L_quitClick()
{
    close();
}
void Form_unit::Button_M_cClick()
{
    calculatePage(1);
}
void Form_unit::Button_M_clearClick()
{
    clearPage(1);
}
void Form_unit::Button_M_quitClick()
{
    close();
}
void Form_unit::Button_p_calClick()
{
    calculatePage(2);
}
void Form_unit::Button_p_clearClick()
{
    clearPage(2);
}
void Form_unit::Button_p_quitClick()
{
    close();
}
void Form_unit::Button_N_cClick()
{
    calculatePage(3);
}
void Form_unit::Button_N_clearClick()
{
    clearPage(3);
}
void Form_unit::Button_N_quitClick()
{
    close();
}
void Form_unit::Button1Click()
{
    calculatePage(4);
}
void Form_unit::Button2Click()
{
    clearPage(4);
}
void Form_unit::Button3Click()
{
    close();
}
void Form_unit::Button_MD_calClick()
{
    calculatePage(5);
}
void Form_unit::Button_MD_clearClick()
{
    clearPage(5);
}
void Form_unit::Button_MD_quitClick()
{
    close();
}
