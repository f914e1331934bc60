// The chart window's weather year dialog: an hourly weather file (EPW or
// CSV), the months and the hours of the day whose hours the chart draws; the
// year is laid on the chart, or the one shown removed.
#pragma once

#include "weather/WeatherYear.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class Form_WeatherYear : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { Cancelled, Lay, Remove };

    // csvPressure: the chart's local pressure, Pa, at which a CSV's moisture
    // contents become relative humidities.
    explicit Form_WeatherYear(double csvPressure, QWidget* parent = nullptr);

    // The fields as the last year laid left them; 移去 only with a layer shown.
    void setFields(const QString& path, const QString& months, const QString& hours,
                   bool layerShown);

    Choice choice() const { return choice_; }
    // After Lay: the year read, the filter and the texts it came from.
    const WeatherYear& year() const { return year_; }
    const WeatherFilter& filter() const { return filter_; }
    QString path() const;
    QString monthsText() const;
    QString hoursText() const;

    QLineEdit *Edit_file, *Edit_months, *Edit_hours;
    QPushButton *Button_open, *Button_OK, *Button_remove, *Button_cancel;

private:
    void Button_openClick();
    void Button_OKClick();
    void Button_removeClick();

    double csvPressure_;
    Choice choice_ = Choice::Cancelled;
    WeatherYear year_;
    WeatherFilter filter_;
};
