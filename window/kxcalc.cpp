#include "kxcalc.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

#include "accessible.h"
#include "controls.h"
#include "system_services.h"

namespace kx {

namespace {

QColor toQColor(Rgb c) { return {c.r, c.g, c.b}; }

QString fromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

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
      calc_(*this, *this) {
    installAccessibleControls();
    setObjectName(QStringLiteral("KXcalc"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("ORBEL Dental - Lumeta-Tisch Auswahl 1.0"));
    setWindowIcon(drawnIcon(QLatin1StringView("icon")));
    setFont(tableFont(""));
    setControlColors(this, namedColor("window"), namedColor("windowtext"));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    controls_.build(this);
    bindControls();
    record_ = std::make_unique<SettingRecord>(services_,
                                              SettingRecord::Shown{this, ui_.lblRightSide, ui_.lblLeftSide, ui_.inputs},
                                              *this, tables_, langIndex_);
    connectHandlers();
    controls_.setTabOrder();
}

KXcalc::~KXcalc() = default;

// --- the controls

void KXcalc::bindControls() {
    const WindowControls& c = controls_;
    Ui& u = ui_;
    u.lblTitleB = c.bound<QLabel>("lblTitleB");
    u.lblArticulatorSetting = c.bound<QLabel>("lblArticulatorSetting");
    u.lblRightSide = c.bound<QLabel>("lblRightSide");
    u.lblLeftSide = c.bound<QLabel>("lblLeftSide");
    u.lblRightTeeth = c.bound<QLabel>("lblRightTeeth");
    u.lblLeftTeeth = c.bound<QLabel>("lblLeftTeeth");
    u.lblHyperlink = c.bound<LinkLabel>("lblHyperlink");
    u.notetitletxt = c.bound<NoteBox>("notetitletxt");
    u.notetxt = c.bound<NoteBox>("notetxt");
    u.copyrighttxt = c.bound<NoteBox>("copyrighttxt");
    u.cmdCalculate = c.bound<QPushButton>("cmdCalculate");
    u.cmdPrint = c.bound<QPushButton>("cmdPrint");
    u.cmdEnd = c.bound<QPushButton>("cmdEnd");
    u.chkDebug = c.bound<QCheckBox>("chkDebug");
    u.chkAutocalc = c.bound<QCheckBox>("chkAutocalc");
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        u.flags[i] = c.bound<Picture>(kLanguages[i].flag);
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        u.inputs[i] = c.input(i);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const std::string name(fieldName(static_cast<Field>(i)));
        QWidget* w = c.bound<QWidget>(name.c_str());
        fields_[i] = {w, qobject_cast<TextBox*>(w), qobject_cast<QLabel*>(w)};
        if (!fields_[i].box && !fields_[i].label)
            qFatal("KXcalc: the field %s is neither a text box nor a label", name.c_str());
    }
    // The tiles' names stand inside a tile box: they read as plain text there.
    for (Field f : {Field::txtRightTableColor, Field::txtLeftTableColor, Field::txtFrontTableColor})
        fields_[std::size_t(f)].box->setFrame(false);
    for (const LanguageTables::Accessible& a : tables_.accessible)
        accessibleTargets_.push_back(c.bound<QWidget>(a.control));
}

void KXcalc::connectHandlers() {
    const AngleInput::Hooks hooks{[this] { return ui_.chkAutocalc->isChecked(); }, [this] { calc_.calctable(); }};
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        inputs_[i] = std::make_unique<AngleInput>(kInputSpecs[i].kind, kInputSpecs[i].right, ui_.inputs[i].io, hooks);

    connect(ui_.cmdCalculate, &QAbstractButton::clicked, this, &KXcalc::cmdCalculate_Click);
    connect(ui_.cmdPrint, &QAbstractButton::clicked, this, &KXcalc::cmdPrint_Click);
    connect(ui_.cmdEnd, &QAbstractButton::clicked, this, &KXcalc::cmdEnd_Click);
    connect(ui_.chkDebug, &QAbstractButton::clicked, this, &KXcalc::chkDebug_Click);
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
    ui_.lblRightTeeth->setText(t.rightSetting[i]);
    ui_.lblLeftTeeth->setText(t.leftSetting[i]);
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

void KXcalc::cmdCalculate_Click() { calc_.calctable(); }

void KXcalc::cmdPrint_Click() { record_->printDefault(); }

void KXcalc::cmdEnd_Click() { services_.programEnd.end(); }

void KXcalc::chkDebug_Click() {
    setOuterHeight(ui_.chkDebug->checkState() == Qt::Checked ? kDebugOnOuterHeightTwips : kDebugOffOuterHeightTwips);
}

void KXcalc::setOuterHeight(int twips) {
    outerHeightTwips_ = twips;
    setFixedHeight(twipsToPixels(std::max(0, twips - kFrameHeightTwips)));
}

void KXcalc::lblHyperlink_Click() { HyperJump(ui_.lblHyperlink->text()); }

void KXcalc::HyperJump(const QString& url) { services_.browser.open(url); }

// --- the calculation's view of the window

std::string KXcalc::text(Field f) const {
    const FieldControl& c = fields_[std::size_t(f)];
    return (c.box ? c.box->text() : c.label->text()).toStdString();
}

void KXcalc::setText(Field f, std::string_view utf8) {
    const FieldControl& c = fields_[std::size_t(f)];
    const QString text = fromUtf8(utf8);
    if (!c.box) {
        c.label->setText(text);
        return;
    }
    c.box->write(text);
    // A tile tells assistive technology the element chosen for it, in the
    // window's language, also when a person has typed over its text.
    if ((f == Field::txtRightTableColor || f == Field::txtLeftTableColor || f == Field::txtFrontTableColor) &&
        !tables_.tileDescription[std::size_t(langIndex_)].isEmpty())
        c.box->setAccessibleDescription(tables_.tileDescription[std::size_t(langIndex_)].arg(text));
}

void KXcalc::setBackColor(Field f, Rgb c) { setControlBackColor(fields_[std::size_t(f)].widget, toQColor(c)); }

void KXcalc::setForeColor(Field f, Rgb c) { setControlForeColor(fields_[std::size_t(f)].widget, toQColor(c)); }

std::string KXcalc::elementName(TableElement e) const {
    return tables_.elementName[std::size_t(e)][std::size_t(langIndex_)].toStdString();
}

void KXcalc::reportFault(const CalcFault& fault) {
    services_.messages.calculationFault(tables_.faultMessage(langIndex_, fault.kind(), fault.stage()));
}

}  // namespace kx
