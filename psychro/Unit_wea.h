// The city weather dialog: the user picks a station of the weather table
// (wea.DB) by province and city, or opens an hourly weather year whose design
// values are computed, and the outdoor design values go into the air
// treatment calculator's outdoor fields.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The calculator's three outdoor fields and which season its process is in.
struct WeatherTargets {
    bool summerProcess = true;             // one of the two summer processes
    QLineEdit* dryBulb = nullptr;          // "室外计算干球温度(℃):"
    QLineEdit* wetBulb = nullptr;          // "夏季室外计算湿球温度(℃):"
    QLineEdit* relativeHumidity = nullptr; // "冬季空调室外计算相对湿度(％):"
};

class Form_wea : public QDialog
{
    Q_OBJECT
public:
    explicit Form_wea(QWidget* parent = nullptr);

    // Shows the dialog modally; a pick writes the station's values into the
    // targets (all three every time), and so does a weather year opened with
    // "气象年(&Y)...". Returns Accepted after a pick or a year.
    int pick(const WeatherTargets& targets);
    // Where the next pick writes (pick() sets it; tests show the dialog
    // themselves).
    void setTargets(const WeatherTargets& targets);

    // The province whose cities the city list holds.
    QString citiesProvince() const { return CitiesProvince; }

    QLabel *Label_Pro, *Label_City;
    QListWidget* ListBox_Pro;
    QListWidget* ListBox_City;
    QPushButton *Button_year, *Button_select, *Button_quit;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ListBox_ProClick();
    void Button_selectClick();
    void Button_yearClick();
    void Button_quitClick();
    void fillCities(const QString& province);
    QString tablePath() const;

    bool summer_ = true;
    QPointer<QLineEdit> dryBulb_, wetBulb_, relativeHumidity_;
    QString CitiesProvince;
};
