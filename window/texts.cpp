#include "texts.h"

#include <algorithm>
#include <span>

namespace kx {

namespace {
// One text in each language, in the order of kLanguages: a missing one does
// not compile.
template <class... S>
requires(sizeof...(S) == kLanguageCount) LangTexts row(S&&... texts) { return {QString(std::forward<S>(texts))...}; }

// A language the window does not know reads as the first.
std::size_t known(int lang) { return lang >= 0 && std::size_t(lang) < kLanguageCount ? std::size_t(lang) : 0; }
}  // namespace

int languageOfWord(const QString& word) {
    const auto it =
        std::ranges::find_if(kLanguages, [&](const Language& l) { return word == QLatin1StringView(l.settingWord); });
    return it == kLanguages.end() ? kOtherWordLanguage : int(it - kLanguages.begin());
}

namespace {
// Names as a person hears them from a screen reader, built from the window's
// own words in each language.
std::vector<LanguageTables::Accessible> accessibleTexts() {
    return {
        {"PicLogo", row(u"Logo von ORBEL Dental"_qs, u"ORBEL Dental logo"_qs, u"Logo di ORBEL Dental"_qs), {}},
        {"Picture1", row(u"Produktname: Lumeta"_qs, u"Product name: Lumeta"_qs, u"Nome del prodotto: Lumeta"_qs), {}},
        {"picGe", row(u"Deutsch"_qs, u"German"_qs, u"Tedesco"_qs),
         row(u"Zeigt das Fenster auf Deutsch"_qs, u"Shows the window in German"_qs,
             u"Mostra la finestra in tedesco"_qs)},
        {"picUS", row(u"Englisch"_qs, u"English"_qs, u"Inglese"_qs),
         row(u"Zeigt das Fenster auf Englisch"_qs, u"Shows the window in English"_qs,
             u"Mostra la finestra in inglese"_qs)},
        {"picIT", row(u"Italienisch"_qs, u"Italian"_qs, u"Italiano"_qs),
         row(u"Zeigt das Fenster auf Italienisch"_qs, u"Shows the window in Italian"_qs,
             u"Mostra la finestra in italiano"_qs)},
        {"colorSCIright",
         row(u"Einsatzfarbe, rechte SKN"_qs, u"Insert colour, right SCI"_qs, u"Colore dell'inserto, SCI destra"_qs),
         {}},
        {"colorSCIleft",
         row(u"Einsatzfarbe, linke SKN"_qs, u"Insert colour, left SCI"_qs, u"Colore dell'inserto, SCI sinistra"_qs),
         {}},
        {"colorTCIright",
         row(u"Einsatzfarbe, rechte TKN"_qs, u"Insert colour, right TCI"_qs, u"Colore dell'inserto, TCI destra"_qs),
         {}},
        {"colorTCIleft",
         row(u"Einsatzfarbe, linke TKN"_qs, u"Insert colour, left TCI"_qs, u"Colore dell'inserto, TCI sinistra"_qs),
         {}},
        {"angleSCIright",
         row(u"Rechte sagittale Kondylenbahnneigung, Winkel"_qs, u"Right sagittal condylar inclination, angle"_qs,
             u"Inclinazione condilare sagittale destra, angolo"_qs),
         row(u"Grad, 0 bis 70"_qs, u"Degrees, 0 to 70"_qs, u"Gradi, da 0 a 70"_qs)},
        {"angleSCIleft",
         row(u"Linke sagittale Kondylenbahnneigung, Winkel"_qs, u"Left sagittal condylar inclination, angle"_qs,
             u"Inclinazione condilare sagittale sinistra, angolo"_qs),
         row(u"Grad, 0 bis 70"_qs, u"Degrees, 0 to 70"_qs, u"Gradi, da 0 a 70"_qs)},
        {"angleTCIright",
         row(u"Rechte transversale Kondylenbahnneigung, Winkel"_qs, u"Right transversal condylar inclination, angle"_qs,
             u"Inclinazione condilare trasversale destra, angolo"_qs),
         row(u"Grad, -10 bis 25"_qs, u"Degrees, -10 to 25"_qs, u"Gradi, da -10 a 25"_qs)},
        {"angleTCIleft",
         row(u"Linke transversale Kondylenbahnneigung, Winkel"_qs, u"Left transversal condylar inclination, angle"_qs,
             u"Inclinazione condilare trasversale sinistra, angolo"_qs),
         row(u"Grad, -10 bis 25"_qs, u"Degrees, -10 to 25"_qs, u"Gradi, da -10 a 25"_qs)},
        {"scrSCIright",
         row(u"Winkel einstellen, rechte SKN"_qs, u"Step the angle, right SCI"_qs, u"Regola l'angolo, SCI destra"_qs),
         {}},
        {"scrSCIleft",
         row(u"Winkel einstellen, linke SKN"_qs, u"Step the angle, left SCI"_qs, u"Regola l'angolo, SCI sinistra"_qs),
         {}},
        {"scrTCIright",
         row(u"Winkel einstellen, rechte TKN"_qs, u"Step the angle, right TCI"_qs, u"Regola l'angolo, TCI destra"_qs),
         {}},
        {"scrTCIleft",
         row(u"Winkel einstellen, linke TKN"_qs, u"Step the angle, left TCI"_qs, u"Regola l'angolo, TCI sinistra"_qs),
         {}},
        {"picKxtable",
         row(u"Foto des Inzisaltischs"_qs, u"Photograph of the incisal table"_qs, u"Foto del tavolo incisale"_qs),
         {}},
        {"txtRightTableColor",
         row(u"Tischelement, rechte Position"_qs, u"Table element, right position"_qs,
             u"Elemento del tavolo, posizione destra"_qs),
         {}},
        {"txtLeftTableColor",
         row(u"Tischelement, linke Position"_qs, u"Table element, left position"_qs,
             u"Elemento del tavolo, posizione sinistra"_qs),
         {}},
        {"txtFrontTableColor",
         row(u"Tischelement, vordere Position"_qs, u"Table element, front position"_qs,
             u"Elemento del tavolo, posizione anteriore"_qs),
         {}},
        {"notetxt", row(u"Wichtiger Hinweis"_qs, u"Important note"_qs, u"Nota importante"_qs), {}},
        {"copyrighttxt", row(u"Version und Copyright"_qs, u"Version and copyright"_qs, u"Versione e copyright"_qs), {}},
        {"notetitletxt", row(u"Überschrift des Hinweises"_qs, u"Heading of the note"_qs, u"Titolo della nota"_qs), {}},
        {"cmdPrint", row(u"Drucken"_qs, u"Print"_qs, u"Stampa"_qs),
         row(u"Druckt das Fenster auf dem Standarddrucker; sein Kontextmenü druckt mit Auswahl des Druckers, "
             u"speichert als PDF oder kopiert"_qs,
             u"Prints the window on the default printer; its context menu prints on a chosen printer, saves a PDF "
             u"or copies"_qs,
             u"Stampa la finestra sulla stampante predefinita; il suo menu contestuale stampa su una stampante a "
             u"scelta, salva in PDF o copia"_qs)},
        {"cmdEnd", row(u"Beenden"_qs, u"End"_qs, u"Esci"_qs),
         row(u"Beendet das Programm"_qs, u"Ends the program"_qs, u"Chiude il programma"_qs)},
        // The link is named by the address it shows.
        {"lblHyperlink",
         {},
         row(u"Öffnet die Website des Herstellers im Browser"_qs, u"Opens the maker's web site in the browser"_qs,
             u"Apre il sito web del produttore nel browser"_qs)},
    };
}
}  // namespace

LanguageTables makeLanguageTables() {
    LanguageTables t;
    t.windowTitle =
        row(u"ORBEL Dental - Lumeta Inzisaltisch Auswahl"_qs, u"ORBEL Dental - Lumeta Incisal Table Selection"_qs,
            u"ORBEL Dental - Selezione tavolo incisale Lumeta"_qs);
    t.titleB = row(u"Inzisaltisch Auswahl "_qs, u"Incisal Table Selection "_qs, u"Selezione tavolo incisale"_qs);
    t.articulatorSetting = row(u"Corvanta KX Artikulatoreinstellung"_qs, u"Corvanta KX Articulator setting"_qs,
                               u"Impostazione articolatore Corvanta KX"_qs);
    t.right = row(u"RECHTS"_qs, u"RIGHT"_qs, u"DESTRA"_qs);
    t.left = row(u"LINKS"_qs, u"LEFT"_qs, u"SINISTRA"_qs);
    t.sci = row(u"SKN"_qs, u"SCI"_qs, u"SCI"_qs);
    t.tci = row(u"TKN"_qs, u"TCI"_qs, u"TCI"_qs);
    t.rightSetting = row(u"rechte KX Artikulatoreinstellung"_qs, u"right  KX Articulatorsetting"_qs,
                         u"impostazione destra articolatore KX"_qs);
    t.leftSetting = row(u"linke KX Artikulatoreinstellung"_qs, u"left KX Articulatorsetting"_qs,
                        u"impostazione sinistra articolatore KX"_qs);
    t.degree = row(u"grad"_qs, u"deg"_qs, u"gradi"_qs);
    const auto insert = [&t](Insert i, LangTexts names) { t.insertName[std::size_t(i)] = std::move(names); };
    insert(Insert::White, row(u"weiss"_qs, u"white"_qs, u"bianco"_qs));
    insert(Insert::Yellow, row(u"gelb"_qs, u"yellow"_qs, u"giallo"_qs));
    insert(Insert::Red, row(u"rot"_qs, u"red"_qs, u"rosso"_qs));
    insert(Insert::Blue, row(u"blau"_qs, u"blue"_qs, u"blu"_qs));
    insert(Insert::Black, row(u"schwarz"_qs, u"black"_qs, u"nero"_qs));
    const auto element = [&t](TableElement e, LangTexts names) { t.elementName[std::size_t(e)] = std::move(names); };
    element(TableElement::Blue, row(u"blau"_qs, u"blue"_qs, u"blu"_qs));
    element(TableElement::Green, row(u"grün"_qs, u"green"_qs, u"verde"_qs));
    element(TableElement::Orange, row(u"orange"_qs, u"orange"_qs, u"arancione"_qs));
    element(TableElement::OrangeYellow, row(u"orange (gelb)"_qs, u"orange (yellow)"_qs, u"arancione (giallo)"_qs));
    t.noteTitle = row(u"Wichtiger Hinweis: "_qs, u"Important Note: "_qs, u"Nota importante: "_qs);
    t.note =
        row(u"Die von diesem Programm vorgeschlagenen Einstellungen basieren auf statistischen "
            u"Untersuchungen sowie klinische Erfahrungswerten. Daher müssen die Einstellungen immer für "
            u"Ihre Verwendbarkeit geprüft werden. Die letzte Entscheidung für die Behandlung obliegt dem "
            u"verantwortlichen Zahnarzt bzw. Zahntechniker. Im Zweifelsfall ist von der Anwendung abzusehen."_qs,
            u"The calculations performed by this software are based on statistical evaluations and "
            u"clinical experience values. Therefore the results must be checked before applied on the "
            u"individual patient case.  The final decision for the treatment lies in the responsibility "
            u"of the dentist or dental technician. In case of doubt do not use this product."_qs,
            u"Le impostazioni proposte da questo programma si basano su analisi statistiche e su "
            u"esperienze cliniche. La validità delle impostazioni va quindi sempre verificata. La "
            u"decisione ultima sul trattamento spetta all'odontoiatra o all'odontotecnico responsabili. "
            u"In caso di dubbio è consigliabile astenersi dall'utilizzo del prodotto."_qs);
    t.version = row(u"Version "_qs, u"Version "_qs, u"Versione "_qs);
    const QString copyright = u"\u00a9 ORBEL Dental"_qs;
    t.copyright = row(copyright, copyright, copyright);

    t.accessible = accessibleTexts();
    t.printMenu = {row(u"Drucken…"_qs, u"Print…"_qs, u"Stampa…"_qs),
                   row(u"Als PDF speichern…"_qs, u"Save as PDF…"_qs, u"Salva come PDF…"_qs),
                   row(u"Kopieren"_qs, u"Copy"_qs, u"Copia"_qs)};
    t.printedOn = row(u"Gedruckt am %1"_qs, u"Printed on %1"_qs, u"Stampato il %1"_qs);
    t.copiedOn = row(u"Kopiert am %1"_qs, u"Copied on %1"_qs, u"Copiato il %1"_qs);
    t.pdfTitle = row(u"Als PDF speichern"_qs, u"Save as PDF"_qs, u"Salva come PDF"_qs);
    t.pdfFilter = row(u"PDF-Dateien (*.pdf)"_qs, u"PDF files (*.pdf)"_qs, u"File PDF (*.pdf)"_qs);
    t.tileDescription = row(u"Gewähltes Element: %1"_qs, u"Chosen element: %1"_qs, u"Elemento scelto: %1"_qs);
    // Every insert and every element has its name in every language.
    for (const auto& names : {std::span<const LangTexts>(t.insertName), std::span<const LangTexts>(t.elementName)})
        for (const LangTexts& n : names)
            Q_ASSERT(std::ranges::none_of(n, &QString::isEmpty));
    return t;
}

QString LanguageTables::faultMessage(int lang, FaultKind kind, CalcStage stage) const {
    static const LangTexts intro =
        row(u"Die Berechnung wurde abgebrochen: %1 (%2). Die angezeigten Werte gehören nicht zu den Eingaben."_qs,
            u"The calculation was stopped: %1 (%2). The values shown do not belong to the inputs."_qs,
            u"Il calcolo è stato interrotto: %1 (%2). I valori mostrati non corrispondono ai dati inseriti."_qs);
    LangTexts what;
    switch (kind) {
        case FaultKind::DivisionByZero:
            what = row(u"Division durch null"_qs, u"division by zero"_qs, u"divisione per zero"_qs);
            break;
        case FaultKind::Overflow: what = row(u"Überlauf"_qs, u"overflow"_qs, u"overflow"_qs); break;
        case FaultKind::InvalidOperation:
            what = row(u"ungültige Rechenoperation"_qs, u"invalid operation"_qs, u"operazione non valida"_qs);
            break;
        case FaultKind::NegativeSquareRoot:
            what = row(u"Wurzel aus einer negativen Zahl"_qs, u"square root of a negative number"_qs,
                       u"radice quadrata di un numero negativo"_qs);
            break;
        case FaultKind::SingleRange:
        case FaultKind::NumberTextTooLarge:
            what =
                row(u"Zahl außerhalb des Wertebereichs"_qs, u"number out of range"_qs, u"numero fuori intervallo"_qs);
            break;
    }
    LangTexts where;
    switch (stage) {
        case CalcStage::Reading:
            where = row(u"beim Lesen der Eingaben"_qs, u"reading the inputs"_qs, u"lettura dei dati"_qs);
            break;
        case CalcStage::FrontGuidance:
            where = row(u"Frontzahnführung"_qs, u"anterior guidance"_qs, u"guida anteriore"_qs);
            break;
        case CalcStage::RightCanine:
            where = row(u"rechte Eckzahnführung"_qs, u"right canine guidance"_qs, u"guida canina destra"_qs);
            break;
        case CalcStage::LeftCanine:
            where = row(u"linke Eckzahnführung"_qs, u"left canine guidance"_qs, u"guida canina sinistra"_qs);
            break;
        case CalcStage::TableColors:
            where = row(u"Wahl der Tischelemente"_qs, u"choice of the table elements"_qs,
                        u"scelta degli elementi del tavolo"_qs);
            break;
    }
    const std::size_t i = known(lang);
    return intro[i].arg(what[i], where[i]);
}

QString LanguageTables::noPrinterMessage(int lang) const {
    static const LangTexts t = row(u"Es ist kein Drucker eingerichtet. Das Fenster wurde nicht gedruckt."_qs,
                                   u"No printer is installed. The window was not printed."_qs,
                                   u"Nessuna stampante installata. La finestra non è stata stampata."_qs);
    return t[known(lang)];
}

QString LanguageTables::printFailedMessage(int lang, const QString& printer) const {
    static const LangTexts t =
        row(u"Der Drucker „%1“ hat den Auftrag nicht angenommen."_qs, u"The printer \"%1\" did not accept the job."_qs,
            u"La stampante \"%1\" non ha accettato il lavoro."_qs);
    return t[known(lang)].arg(printer);
}

QString LanguageTables::pdfFailedMessage(int lang, const QString& file, const QString& reason) const {
    static const LangTexts t =
        row(u"Die PDF-Datei „%1“ konnte nicht gespeichert werden: %2"_qs,
            u"The PDF file \"%1\" could not be saved: %2"_qs, u"Impossibile salvare il file PDF \"%1\": %2"_qs);
    return t[known(lang)].arg(file, reason);
}

QString LanguageTables::clipboardFailedMessage(int lang) const {
    static const LangTexts t =
        row(u"Die Zwischenablage hat die Einstellung nicht angenommen. Es wurde nichts kopiert."_qs,
            u"The clipboard did not take the setting. Nothing was copied."_qs,
            u"Gli appunti non hanno accettato l'impostazione. Non è stato copiato nulla."_qs);
    return t[known(lang)];
}

}  // namespace kx
