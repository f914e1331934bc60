// The air treatment process as the commands take it on the command line:
// "1".."4" and key=value parameters named as `process --help` names them.
// Shared by `process` and `chart --process`.
#pragma once

#include "airtreat/TreatmentCalc.h"
#include "psychro/ID_lib.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The parameter keys in lower case, as they are matched (tw, tsw, phiw, tn,
// phin, q, w, to, ratio, fresh, g, gw, g1).
const QStringList& ProcessParameterKeys();

// Takes a key=value word into given (keys in any case). False for a word that
// names no process parameter; throws UserError for one given twice.
bool TakeProcessParameter(const QString& word, QMap<QString, QString>& given);

struct ProcessComputed {
    std::optional<TreatmentCalculation> calculation;
    TreatmentProcess process = TreatmentProcess::PrimarySummer;
    QStringList messages; // the library's, the refusal last
};

// One case at a time with its own library, so that batch workers share nothing.
class ProcessCalculator
{
public:
    // Throws UserError for a pressure that is not a number or not above 0.
    explicit ProcessCalculator(const QString& pressure);

    // processText "1".."4"; given maps ProcessParameterKeys() to texts as
    // typed. A parameter the process does not use, ratio with fresh, a
    // refused design or a result that is not finite gives no calculation and
    // the messages saying why.
    ProcessComputed compute(const QString& processText, const QMap<QString, QString>& given);

    // The library at the pressure, as the calculation left it.
    const ID_lib& lib() const { return lib_; }

private:
    QString pressure_;
    QStringList messages_;
    ID_lib lib_;
};
