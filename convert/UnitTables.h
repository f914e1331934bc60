// The unit converter's tables: six quantities, each with its units and their
// sizes in the quantity's base unit, and the conversion of one value into
// every unit of its quantity.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

struct ConversionUnit {
    // Caption as composed beside the result field: the caption, a small label
    // (an exponent, raised, or a chemical index, lowered) and a tail after it,
    // e.g. "kgf/cm" + raised "2", "mmH" + lowered "2" + "O".
    QString caption;
    QString index;
    bool raised = true;
    QString tail;
    double factor = 1; // size of the unit in the page's base unit

    // "kgf/cm2", "mmH2O": how the unit is typed on a keyboard.
    QString plainName() const;
    // "kgf/cm²", "mmH₂O": the caption in one line of text.
    QString displayName() const;
    // "kgf/cm<sup>2</sup>": the caption for a rich-text label.
    QString richName() const;
};

struct ConversionPage {
    QString title; // the tab's caption, e.g. "压力"
    std::vector<ConversionUnit> units;
};

// The six pages in the converter's order: length, mass, pressure, power,
// energy, density.
std::span<const ConversionPage> ConversionPages();
// The page the converter shows when first opened ("功率").
constexpr int kFirstShownPage = 3;

// Value x given in unit inputUnit of page, in every unit of the page (row
// order). Throws UserError(ConversionOutOfRangeText) when a result does not
// fit in a double (beyond about 1.8e308), so that nothing is shown for it.
std::vector<double> ConvertToAllUnits(const ConversionPage& page, int inputUnit, double x);

inline const QString ConversionOutOfRangeText = QStringLiteral("换算结果超出数值范围！");

// A converted value as the result fields show it: "0.0000".
QString FormatConverted(double value);

struct UnitRef {
    int page = 0;
    int unit = 0;
};

struct UnitLookup {
    std::optional<UnitRef> found;
    QStringList candidates; // when the name is ambiguous: the units it could be
};

// The unit whose plain or display name is name: an exact match first, then a
// match ignoring case if only one unit matches that way.
UnitLookup FindUnit(const QString& name);
