#include "shell/AppWindows.h"

#include "airtreat/Unit_Air_treat.h"
#include "airtreat/Unit_G.h"
#include "airtreat/Unit_IDTu_Treat.h"
#include "app/Prompts.h"
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
#include "shell/Unit_main.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <functional>

template <class W, class... Args> W* AppWindows::create(Args&&... args)
{
    auto window = std::make_unique<W>(std::forward<Args>(args)...);
    W* raw = window.get();
    owned_.push_back(std::move(window));
    return raw;
}

namespace
{
// Queues a call behind a window's first paint: the paint's flush to the
// screen comes first.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then)
        : QObject(window), then_(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                then_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> then_;
};
} // namespace

void RunAfterFirstPaint(QWidget* window, std::function<void()> then)
{
    new AfterFirstPaint(window, std::move(then));
}

AppWindows::AppWindows(Creation creation)
    : idLib([](const std::string& text, ID_lib::MessageKind) {
          prompts().error(QApplication::activeWindow(), QString::fromStdString(text));
      })
{
    // Creation order of the program's windows, the main menu first.
    main = create<Form_main>();
    CenterOnScreen(main);
    if (creation == Creation::All) {
        createRest();
        return;
    }
    main->promiseWindows([this] { createRest(); });
    RunAfterFirstPaint(main, [this] { main->createPromisedWindows(); });
}

void AppWindows::createRest()
{
    if (ductAdvanced)
        return;
    ductAdvanced = create<Form_Advanced>();
    message = create<Form_message>();
    duct = create<Form_ZL_Duct>(*ductAdvanced);
    pipeSizeSetting = create<Form_BZL_Set>();
    pipeCoefficients = create<Form_JZSet_pipe>();
    pipeSize = create<Form_pipe_DN>();
    pipeTypes = create<Form_Pipe_Set>(*pipeSize);
    pipe = create<Form_ZL_pipe>(*pipeSizeSetting, *pipeCoefficients, *pipeTypes);
    wea = create<Form_wea>();
    airTreat = create<Form_Air_treat>(idLib, treatment);
    atm = create<Form_atm>();
    airFlows = create<Form_G>();
    airTreat->useDialogs(*atm, *airFlows);
    treatChart = create<Form_IDTu_Treat>(idLib, *atm, treatment);
    airTreat->useViews(*wea, *treatChart);
    chart = create<Form_IDTu>(idLib, *atm);
    unit = create<Form_unit>();
    id = create<Form_id>(idLib, *atm);
    pmv = create<Form_PMV>(idLib);

    main->attach(QStringLiteral("SpeedButton_point"), id);
    main->attach(QStringLiteral("SpeedButton_air"), airTreat);
    main->attach(QStringLiteral("SpeedButton_ID"), chart);
    main->attach(QStringLiteral("SpeedButton_Pipe"), pipe);
    main->attach(QStringLiteral("SpeedButton_Duct"), duct);
    main->attach(QStringLiteral("SpeedButton_PMV"), pmv);
    main->attach(QStringLiteral("SpeedButton_Unit"), unit);
    for (std::size_t k = 1; k < owned_.size(); ++k)
        CenterOnScreen(owned_[k].get());
}

AppWindows::~AppWindows()
{
    while (!owned_.empty())
        owned_.pop_back();
}

void CenterOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
