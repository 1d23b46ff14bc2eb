#include "setting_record.h"

#include <QDateTime>
#include <QLabel>
#include <algorithm>

#include "controls.h"
#include "regional.h"

namespace kx {

namespace {

// The row of accessible texts for a tile's text field; a tile without one
// stops the program when the window is made.
std::size_t accessibleRow(const LanguageTables& tables, TilePosition position) {
    const std::string_view name = tileControls(position).text;
    const auto row = std::ranges::find(tables.accessible, name, &LanguageTables::Accessible::control);
    if (row == tables.accessible.end())
        qFatal("KXcalc: the tile %s has no accessible name", std::string(name).c_str());
    return std::size_t(row - tables.accessible.begin());
}

}  // namespace

SettingRecord::SettingRecord(Services services, Shown shown, const LanguageTables& tables, const int& langIndex)
    : services_(services),
      shown_(shown),
      tables_(tables),
      langIndex_(langIndex),
      tiles_{{{TilePosition::Front, accessibleRow(tables, TilePosition::Front)},
              {TilePosition::Left, accessibleRow(tables, TilePosition::Left)},
              {TilePosition::Right, accessibleRow(tables, TilePosition::Right)}}} {}

void SettingRecord::printDefault() { tell(services_.printer.printDefault(page())); }

void SettingRecord::printChoosing() { tell(services_.printer.printChoosing(page())); }

void SettingRecord::savePdf() {
    const std::size_t i = std::size_t(langIndex_);
    const QString name = QDateTime::currentDateTime().toString(u"'kxcalc-'yyyy-MM-dd-HHmm'.pdf'"_qs);
    tell(services_.printer.savePdf(page(), {tables_.pdfTitle[i], tables_.pdfFilter[i], name}));
}

void SettingRecord::copy() {
    if (!services_.clipboard.put(text(), shown_.window->grab().toImage()))
        services_.messages.notice(tables_.clipboardFailedMessage(langIndex_));
}

Page SettingRecord::page() const {
    return {shown_.window,
            tables_.printedOn[std::size_t(langIndex_)].arg(regionalDateTime(QDateTime::currentDateTime()))};
}

QString SettingRecord::text() const {
    const std::size_t i = std::size_t(langIndex_);
    const auto input = [this](std::size_t k) {
        const InputControls& in = shown_.inputs[k];
        return QStringLiteral("%1 %2 %3 (%4)")
            .arg(in.caption->text(), in.io.angle->text().trimmed(), in.degree->text(), in.io.list->shownText());
    };
    // kInputSpecs: SCI right, SCI left, TCI right, TCI left.
    QStringList lines{shown_.window->windowTitle(),
                      shown_.rightSide->text() + u": "_qs + input(0) + u", "_qs + input(2),
                      shown_.leftSide->text() + u": "_qs + input(1) + u", "_qs + input(3)};
    for (const Tile& tile : tiles_)
        lines << tables_.accessible[tile.accessibleRow].name[i] + u": "_qs +
                     shown_.tiles[std::size_t(tile.position)].text->text();
    lines << tables_.copiedOn[i].arg(regionalDateTime(QDateTime::currentDateTime()));
    return lines.join(u'\n') + u'\n';
}

void SettingRecord::tell(const Printer::Result& result) const {
    QString text;
    switch (result.outcome) {
        case Printer::Outcome::Done:
        case Printer::Outcome::Cancelled: return;
        case Printer::Outcome::NoPrinter: text = tables_.noPrinterMessage(langIndex_); break;
        case Printer::Outcome::Refused: text = tables_.printFailedMessage(langIndex_, result.detail); break;
        case Printer::Outcome::NotSaved:
            text = tables_.pdfFailedMessage(langIndex_, result.detail, result.reason);
            break;
    }
    services_.messages.notice(text);
}

}  // namespace kx
