#include "kxcalc.h"

#include <QMenu>
#include <QPushButton>
#include <algorithm>

#include "accessible.h"
#include "controls.h"
#include "system_services.h"
#include "working_area.h"

namespace kx {

namespace {

QColor toQColor(Rgb c) { return {c.r, c.g, c.b}; }

// The language setting, under the names it has in the settings store.
QString readLanguageWord(SettingsStore& store) {
    const SettingName& n = kLanguageSetting;
    return store.read(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key));
}

void writeLanguageWord(SettingsStore& store, int lang) {
    const SettingName& n = kLanguageSetting;
    store.write(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key),
                QLatin1StringView(kLanguages[std::size_t(lang)].settingWord));
}

}  // namespace

// The tables are made with the window: its controls are bound to them, and
// they are complete before the first text is written (those writes
// recalculate, and the tiles read the colour names).
KXcalc::KXcalc(Services services, QWidget* parent)
    : QWidget(parent),
      services_(services),
      tables_(makeLanguageTables()),
      outerHeightTwips_(kClientHeightTwips + kFrameHeightTwips),
      sheet_(WindowControls::initialWorksheet()),
      calc_(sheet_) {
    installAccessibleControls();
    setObjectName(QStringLiteral("KXcalc"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("ORBEL Dental - Lumeta-Tisch Auswahl 1.0"));
    setFont(tableFont(""));
    setControlColors(this, namedColor("window"), namedColor("windowtext"));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    controls_.build(this);
    bindControls();
    for (std::size_t lang = 0; lang < kLanguageCount; ++lang)
        for (std::size_t e = 0; e < kTableElementCount; ++e)
            elementNames_[lang][e] = tables_.elementName[e][lang].toStdString();
    record_ = std::make_unique<SettingRecord>(
        services_, SettingRecord::Shown{this, ui_.lblRightSide, ui_.lblLeftSide, ui_.inputs, ui_.tiles}, tables_,
        langIndex_);
    connectHandlers();
    iconLater_.setSingleShot(true);
    iconLater_.setInterval(0);
    connect(&iconLater_, &QTimer::timeout, this, [this] { setWindowIcon(drawnIcon(QLatin1StringView("icon"))); });
}

KXcalc::~KXcalc() = default;

void KXcalc::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    // The window icon is drawn bitmaps of several sizes, which the window
    // system takes only after the window is shown: given once the first
    // frame is on the screen, it does not hold that frame up.
    if (!iconGiven_) {
        iconGiven_ = true;
        iconLater_.start();
    }
}

// --- the controls

void KXcalc::bindControls() {
    const WindowControls& c = controls_;
    Ui& u = ui_;
    u.lblTitleB = c.bound<QLabel>("lblTitleB");
    u.lblArticulatorSetting = c.bound<QLabel>("lblArticulatorSetting");
    u.lblRightSide = c.bound<QLabel>("lblRightSide");
    u.lblLeftSide = c.bound<QLabel>("lblLeftSide");
    u.lblHyperlink = c.bound<LinkLabel>("lblHyperlink");
    u.notetitletxt = c.bound<NoteBox>("notetitletxt");
    u.notetxt = c.bound<NoteBox>("notetxt");
    u.copyrighttxt = c.bound<NoteBox>("copyrighttxt");
    u.cmdPrint = c.bound<QPushButton>("cmdPrint");
    u.cmdEnd = c.bound<QPushButton>("cmdEnd");
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        u.flags[i] = c.bound<Picture>(kLanguages[i].flag);
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        u.inputs[i] = c.input(i);
    for (std::size_t i = 0; i < kTileCount; ++i) {
        u.tiles[i] = c.tile(TilePosition(i));
        // The tiles' names stand inside a tile box: they read as plain text there.
        u.tiles[i].text->setFrame(false);
    }
    for (const LanguageTables::Accessible& a : tables_.accessible)
        accessibleTargets_.push_back(c.bound<QWidget>(a.control));
}

void KXcalc::connectHandlers() {
    const AngleInput::Hooks hooks{[this] { calculate(); }, [this] { worksheetWritten(); }};
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        inputs_[i] =
            std::make_unique<AngleInput>(kInputSpecs[i].kind, kInputSpecs[i].right, ui_.inputs[i].io, sheet_, hooks);

    connect(ui_.cmdPrint, &QAbstractButton::clicked, this, &KXcalc::cmdPrint_Click);
    connect(ui_.cmdEnd, &QAbstractButton::clicked, this, &KXcalc::cmdEnd_Click);
    connect(ui_.lblHyperlink, &LinkLabel::clicked, this, &KXcalc::lblHyperlink_Click);
    // The link has no place in the Tab order, so the keyboard reaches it by a
    // shortcut from anywhere in the window: W for web in all three languages.
    ui_.lblHyperlink->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
    // picGe_Click, picUS_Click, picIT_Click
    for (std::size_t lang = 0; lang < kLanguageCount; ++lang)
        connect(ui_.flags[lang], &Picture::clicked, this, [this, lang] { chooseLanguage(int(lang)); });
    connectPrintMenu();
}

// The print button prints at once; its context menu and the usual keys
// reach the other ways a practice files a setting.
void KXcalc::connectPrintMenu() {
    offerContextMenu(ui_.cmdPrint);
    connect(ui_.cmdPrint, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        // The menu runs an event loop of its own; what was chosen runs once it
        // has closed.
        QMenu menu(this);
        for (const LangTexts& item : tables_.printMenu)
            menu.addAction(item[std::size_t(langIndex_)]);
        const QList<QAction*> items = menu.actions();
        const QAction* chosen = menu.exec(ui_.cmdPrint->mapToGlobal(at));
        if (chosen == items[0])
            record_->printChoosing();
        else if (chosen == items[1])
            record_->savePdf();
        else if (chosen == items[2])
            record_->copy();
    });
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, &KXcalc::cmdPrint_Click);
    connect(new CopyKeys(this), &CopyKeys::activated, this, [this] { record_->copy(); });
}

// --- start-up and languages

// Form_Load
void KXcalc::formLoad() {
    const QString word = readLanguageWord(services_.settings);
    if (word.isEmpty()) {
        writeLanguageWord(services_.settings, kFirstStartLanguage);
        langIndex_ = kFirstStartLanguage;
    } else {
        // Any other text stays in the setting as it is.
        langIndex_ = languageOfWord(word);
    }
    applyLanguage();
    resetInputs();
}

// picGe_Click, picUS_Click, picIT_Click
void KXcalc::chooseLanguage(int lang) {
    langIndex_ = lang;
    writeLanguageWord(services_.settings, lang);
    applyLanguage();
    resetInputs();
}

void KXcalc::applyLanguage() {
    const std::size_t i = std::size_t(langIndex_);
    const LanguageTables& t = tables_;
    translateToolkit(QLatin1StringView(kLanguages[i].code));
    setWindowTitle(t.windowTitle[i] + QLatin1Char(' ') + QLatin1StringView(kProgramVersion));
    applyAccessibleTexts();
    ui_.lblTitleB->setText(t.titleB[i]);
    ui_.lblArticulatorSetting->setText(t.articulatorSetting[i]);
    ui_.lblRightSide->setText(t.right[i]);
    ui_.lblLeftSide->setText(t.left[i]);
    for (std::size_t k = 0; k < kInputSpecs.size(); ++k)
        ui_.inputs[k].caption->setText(kInputSpecs[k].kind == Inclination::Sagittal ? t.sci[i] : t.tci[i]);
    languageWritten_ = true;
    if (workingArea_)
        workingArea_->setHeadings(t.rightSetting[i], t.leftSetting[i]);
    for (const InputControls& in : ui_.inputs)
        in.degree->setText(t.degree[i]);

    writeInsertLists();
    for (const InputControls& in : ui_.inputs)
        in.io.angle->write(QStringLiteral("0"));
    // The effective fields last to first: TCIleft, TCIright, SCIleft, SCIright.
    for (auto input = inputs_.rbegin(); input != inputs_.rend(); ++input)
        (*input)->writeEffective();

    ui_.notetitletxt->write(t.noteTitle[i]);
    ui_.notetxt->write(t.note[i]);
    ui_.copyrighttxt->write(t.version[i] + QLatin1StringView(kProgramVersion) + QStringLiteral(" - ") + t.copyright[i]);
}

// Each list gets the names of the inserts its kind offers and shows its
// default insert. Writing a list's shown text is an edit of it: its handler
// puts the default insert back, as after a person's typing.
void KXcalc::writeInsertLists() {
    const std::size_t i = std::size_t(langIndex_);
    for (std::size_t k = 0; k < kInputSpecs.size(); ++k) {
        const Inclination kind = kInputSpecs[k].kind;
        InsertList* list = ui_.inputs[k].io.list;
        list->clearList();
        for (const InsertColour& c : kInserts)
            if (offers(kind, c))
                list->appendItem(tables_.insertName[std::size_t(c.insert)][i]);
        const Insert chosen = defaultInsert(kind);
        list->writeText(tables_.insertName[std::size_t(chosen)][i]);
        const InsertLook look = kInserts[std::size_t(chosen)].look;
        setControlBackColor(list, toQColor(look.back));
        setControlForeColor(list, toQColor(look.fore));
    }
}

void KXcalc::applyAccessibleTexts() {
    const std::size_t i = std::size_t(langIndex_);
    for (std::size_t k = 0; k < accessibleTargets_.size(); ++k) {
        const LanguageTables::Accessible& a = tables_.accessible[k];
        QWidget* w = accessibleTargets_[k];
        // A list's edit part takes the list's name: a screen reader lands on
        // it when the list has the focus.
        auto* list = qobject_cast<InsertList*>(w);
        for (QWidget* target : {w, list ? static_cast<QWidget*>(list->lineEdit()) : nullptr}) {
            if (!target)
                continue;
            target->setAccessibleName(a.name[i]);
            // The tiles' descriptions follow the calculation, which writes
            // them with the chosen element's name.
            if (!a.description[i].isEmpty())
                target->setAccessibleDescription(a.description[i]);
        }
    }
    LinkLabel* link = ui_.lblHyperlink;
    link->setToolTip(QStringLiteral("%1 (%2)").arg(link->accessibleDescription(),
                                                   link->shortcut().toString(QKeySequence::NativeText)));
    // The picture buttons say what they are when the pointer rests on them.
    ui_.cmdPrint->setToolTip(QStringLiteral("%1 (%2)").arg(
        ui_.cmdPrint->accessibleName(), QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText)));
    ui_.cmdEnd->setToolTip(ui_.cmdEnd->accessibleName());
}

void KXcalc::resetInputs() {
    // The sagittal lists choose their default insert again; the transversal
    // ones keep what the refill of applyLanguage left.
    for (std::size_t k = 0; k < kInputSpecs.size(); ++k) {
        const Inclination kind = kInputSpecs[k].kind;
        if (kind == Inclination::Sagittal)
            ui_.inputs[k].io.list->setSelectedIndex(*listIndex(kind, defaultInsert(kind)));
    }
    for (std::size_t k = 0; k < kInputSpecs.size(); ++k) {
        const int angle = angleRange(kInputSpecs[k].kind).defaultAngle;
        ui_.inputs[k].io.angle->write(QString::number(angle));
        ui_.inputs[k].io.scroll->setAngle(angle);
    }
}

// --- commands

void KXcalc::cmdCalculate_Click() { calculate(); }

void KXcalc::cmdPrint_Click() { record_->printDefault(); }

void KXcalc::cmdEnd_Click() { services_.programEnd.end(); }

void KXcalc::chkDebug_Click() {
    setOuterHeight(sheet_.debug == 1 ? kDebugOnOuterHeightTwips : kDebugOffOuterHeightTwips);
}

void KXcalc::setOuterHeight(int twips) {
    outerHeightTwips_ = twips;
    setFixedHeight(twipsToPixels(std::max(0, twips - kFrameHeightTwips)));
}

void KXcalc::lblHyperlink_Click() { HyperJump(ui_.lblHyperlink->text()); }

void KXcalc::HyperJump(const QString& url) { services_.browser.open(url); }

// --- the calculation and what it shows

void KXcalc::calculate() {
    const std::optional<CalcFault> fault = calc_.calctable(elementNames_[std::size_t(langIndex_)]);
    // A run that stopped on a fault never reached the tiles.
    if (!fault)
        showTiles();
    worksheetWritten();
    if (fault)
        services_.messages.calculationFault(tables_.faultMessage(langIndex_, fault->kind(), fault->stage()));
}

void KXcalc::showTiles() {
    const QString& description = tables_.tileDescription[std::size_t(langIndex_)];
    for (std::size_t i = 0; i < kTileCount; ++i) {
        const Tile& tile = sheet_.tiles[i];
        const TileShown& shown = ui_.tiles[i];
        setControlBackColor(shown.box, toQColor(tile.box));
        const QString text = QString::fromStdString(tile.text);
        shown.text->write(text);
        // A tile tells assistive technology the element chosen for it, in the
        // window's language, also when a person has typed over its text.
        if (!description.isEmpty())
            shown.text->setAccessibleDescription(description.arg(text));
        setControlBackColor(shown.text, toQColor(tile.back));
        setControlForeColor(shown.text, toQColor(tile.fore));
    }
}

void KXcalc::worksheetWritten() {
    if (workingArea_)
        workingArea_->show();
}

QWidget* KXcalc::control(const QString& name) {
    if (!workingArea_ && WindowControls::isHidden(name)) {
        workingArea_ = std::make_unique<WorkingArea>(
            this, controls_, sheet_,
            WorkingArea::Handlers{[this] { cmdCalculate_Click(); }, [this] { chkDebug_Click(); }});
        // Until the language is first written the headings keep the table's captions.
        if (languageWritten_) {
            const std::size_t i = std::size_t(langIndex_);
            workingArea_->setHeadings(tables_.rightSetting[i], tables_.leftSetting[i]);
        }
    }
    return controls_.find(name);
}

}  // namespace kx
