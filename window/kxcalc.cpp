#include "kxcalc.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <ranges>

#include "accessible.h"
#include "controls.h"
#include "layout.h"
#include "regional.h"
#include "system_services.h"

namespace kx {

namespace {

// The classic desktop's system colours at their usual values, so that the
// window looks the same under every desktop theme.
QColor namedColor(const char* name) {
    const QLatin1StringView n(name);
    if (n.startsWith(QLatin1Char('#')))
        return QColor(QString(n));
    if (n == QLatin1StringView("window") || n == QLatin1StringView("highlighttext"))
        return QColor(0xFF, 0xFF, 0xFF);
    if (n == QLatin1StringView("windowtext"))
        return QColor(0, 0, 0);
    if (n == QLatin1StringView("3dlight"))
        return QColor(0xE3, 0xE3, 0xE3);
    if (n == QLatin1StringView("inactivecaption"))
        return QColor(0x7A, 0x96, 0xDF);
    return {};
}

QFont makeFont(const char* spec) {
    // "Arial 8.25" and the old dialog font "MS Sans Serif" fall back to their
    // metric twins where the originals are not installed.
    QString s = QString::fromUtf8(spec);
    if (s.isEmpty())
        s = QStringLiteral("Arial 8.25");
    QStringList words = s.split(QLatin1Char(' '));
    bool bold = false, underline = false;
    while (!words.isEmpty() && !words.last().at(0).isDigit()) {
        const QString w = words.takeLast();
        bold |= w == QLatin1StringView("bold");
        underline |= w == QLatin1StringView("underlined");
    }
    const double points = words.takeLast().toDouble();
    const QString family = words.join(QLatin1Char(' '));
    QFont f;
    // "MS Sans Serif" is a bitmap font on Windows, in a few pixel sizes
    // only: blurred or cut at other scales. Its outline twin takes its place.
    QStringList families{family == QLatin1StringView("MS Sans Serif") ? QStringLiteral("Microsoft Sans Serif")
                                                                      : family};
    families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

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

KXcalc::KXcalc(Services services, QWidget* parent)
    : QWidget(parent),
      services_(services),
      outerHeightTwips_(kClientHeightTwips + kFrameHeightTwips),
      calc_(*this, *this) {
    installAccessibleControls();
    setObjectName(QStringLiteral("KXcalc"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("ORBEL Dental - Lumeta-Tisch Auswahl 1.0"));
    setWindowIcon(drawnIcon(QLatin1StringView("icon")));
    setFont(makeFont(""));
    setControlColors(this, namedColor("window"), namedColor("windowtext"));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    createControls();
    bindControls();
    connectHandlers();
    setTabOrder();
}

KXcalc::~KXcalc() = default;

// --- the controls

void KXcalc::createControls() {
    for (const ControlSpec& spec : controlSpecs()) {
        QWidget* w = createControl(spec);
        styleControl(w, spec);
        controls_.insert(w->objectName(), w);
        tableOrder_.push_back(w);
    }
    // Labels lie beneath every other control: the blue band under the flags,
    // each tile box under its text.
    for (QWidget* w : tableOrder_)
        if (qobject_cast<QLabel*>(w))
            w->lower();
}

QWidget* KXcalc::createControl(const ControlSpec& spec) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
        case ControlKind::Label:
        case ControlKind::Link: {
            const bool link = spec.kind == ControlKind::Link;
            QLabel* label = link ? new LinkLabel(this) : new QLabel(this);
            label->setText(text);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Captions wrap within their box like the classic labels; the
            // link stays on one line.
            label->setWordWrap(!link);
            return label;
        }
        case ControlKind::TextBox: {
            auto* box = new TextBox(this);
            box->setText(text);
            box->setAlignment((spec.flags & Centered) ? Qt::AlignCenter : Qt::AlignLeft);
            return box;
        }
        case ControlKind::MultiLine: {
            auto* box = new NoteBox(this);
            box->setPlainText(text);
            return box;
        }
        case ControlKind::ComboBox: {
            auto* list = new InsertList(this);
            list->lineEdit()->setText(text);
            // Every insert in view at once, without scrolling.
            list->setMaxVisibleItems(int(kInsertCount));
            return list;
        }
        case ControlKind::ScrollBar: {
            const auto input = std::ranges::find(kInputSpecs, std::string_view(spec.name), &InputSpec::scroll);
            if (input == kInputSpecs.end())
                qFatal("KXcalc: the arrow pair %s belongs to no input", spec.name);
            const AngleRange range = angleRange(input->kind);
            return new ArrowScrollBar(range.high, range.low, this);
        }
        case ControlKind::Picture: {
            const auto border = (spec.flags & Border3D)       ? Picture::Border::Sunken
                                : (spec.flags & BorderSingle) ? Picture::Border::Single
                                                              : Picture::Border::None;
            auto* picture = new Picture(QLatin1StringView(spec.picture), border, this);
            picture->setFocusPolicy(Qt::StrongFocus);
            return picture;
        }
        case ControlKind::Button: {
            auto* button = new IconButton(text, this);
            if (spec.picture) {
                button->setIcon(drawnIcon(QLatin1StringView(spec.picture)));
                button->setIconSize(QSize(24, 24));
            }
            // A focused button is pressed with Return as well as with
            // Space, as everywhere on the classic desktop.
            button->setAutoDefault(true);
            return button;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(text, this);
            box->setChecked(spec.flags & Checked);
            return box;
        }
    }
    qFatal("KXcalc: control %s has no kind", spec.name);
}

void KXcalc::styleControl(QWidget* w, const ControlSpec& spec) {
    w->setObjectName(QString::fromLatin1(spec.name));
    w->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
                   twipsToPixels(spec.height));
    if (spec.font[0] != '\0')
        w->setFont(makeFont(spec.font));
    // Lists, arrow pairs and buttons keep the system's colours unless their
    // row names others; every other control is a plain window surface.
    const bool plainSurface =
        spec.kind != ControlKind::ComboBox && spec.kind != ControlKind::ScrollBar && spec.kind != ControlKind::Button;
    const QColor back = spec.back[0] ? namedColor(spec.back) : plainSurface ? namedColor("window") : QColor();
    const QColor fore = spec.fore[0] ? namedColor(spec.fore) : plainSurface ? namedColor("windowtext") : QColor();
    if (back.isValid())
        setControlBackColor(w, back);
    if (fore.isValid())
        setControlForeColor(w, fore);
    if (spec.flags & Hidden)
        w->hide();
    w->setProperty("kxTabIndex", spec.tabIndex);
}

// A control of the table by its name and type. A name or a type that does
// not match the table stops the program here, when the window is made.
template <class T>
T* KXcalc::bound(const char* name) const {
    auto* w = qobject_cast<T*>(control(QLatin1StringView(name)));
    if (!w)
        qFatal("KXcalc: the control table has no %s named %s", T::staticMetaObject.className(), name);
    return w;
}

void KXcalc::bindControls() {
    Ui& u = ui_;
    u.lblTitleB = bound<QLabel>("lblTitleB");
    u.lblArticulatorSetting = bound<QLabel>("lblArticulatorSetting");
    u.lblRightSide = bound<QLabel>("lblRightSide");
    u.lblLeftSide = bound<QLabel>("lblLeftSide");
    u.lblRightTeeth = bound<QLabel>("lblRightTeeth");
    u.lblLeftTeeth = bound<QLabel>("lblLeftTeeth");
    u.lblHyperlink = bound<LinkLabel>("lblHyperlink");
    u.notetitletxt = bound<NoteBox>("notetitletxt");
    u.notetxt = bound<NoteBox>("notetxt");
    u.copyrighttxt = bound<NoteBox>("copyrighttxt");
    u.cmdCalculate = bound<QPushButton>("cmdCalculate");
    u.cmdPrint = bound<QPushButton>("cmdPrint");
    u.cmdEnd = bound<QPushButton>("cmdEnd");
    u.chkDebug = bound<QCheckBox>("chkDebug");
    u.chkAutocalc = bound<QCheckBox>("chkAutocalc");
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        u.flags[i] = bound<Picture>(kLanguages[i].flag);
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i) {
        const InputSpec& s = kInputSpecs[i];
        u.inputs[i] = {bound<QLabel>(s.caption),
                       bound<QLabel>(s.degree),
                       {bound<TextBox>(s.angle), bound<ArrowScrollBar>(s.scroll), bound<InsertList>(s.list),
                        bound<TextBox>(s.effective)}};
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const std::string_view name = fieldName(static_cast<Field>(i));
        QWidget* w = bound<QWidget>(std::string(name).c_str());
        fields_[i] = {w, qobject_cast<TextBox*>(w), qobject_cast<QLabel*>(w)};
        if (!fields_[i].box && !fields_[i].label)
            qFatal("KXcalc: the field %s is neither a text box nor a label", std::string(name).c_str());
    }
    // The tiles' names stand inside a tile box: they read as plain text there.
    for (Field f : {Field::txtRightTableColor, Field::txtLeftTableColor, Field::txtFrontTableColor})
        fields_[std::size_t(f)].box->setFrame(false);
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
        // What was chosen runs once the menu has closed.
        QMenu menu(this);
        for (const LangTexts& item : tables_.printMenu)
            menu.addAction(item[std::size_t(langIndex_)]);
        const QList<QAction*> items = menu.actions();
        const QAction* chosen = menu.exec(ui_.cmdPrint->mapToGlobal(at));
        if (chosen == items[0])
            printChoosing();
        else if (chosen == items[1])
            savePdf();
        else if (chosen == items[2])
            copySetting();
    });
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, &KXcalc::cmdPrint_Click);
    connect(new CopyKeys(this), &CopyKeys::activated, this, &KXcalc::copySetting);
}

void KXcalc::setTabOrder() {
    std::vector<QWidget*> order;
    for (QWidget* w : tableOrder_)
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(w))
            order.push_back(w);
        else
            w->setFocusPolicy(Qt::NoFocus);
    std::ranges::sort(order, {}, [](QWidget* w) { return w->property("kxTabIndex").toInt(); });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // A new window starts with the focus on the first control that takes it.
    for (QWidget* w : order)
        if (!w->isHidden()) {
            w->setFocus(Qt::OtherFocusReason);
            break;
        }
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
    // The tables are complete before the first text is written: those writes
    // recalculate, and the tiles read the colour names.
    tables_ = makeLanguageTables();
    accessibleTargets_.clear();
    for (const LanguageTables::Accessible& a : tables_.accessible)
        accessibleTargets_.push_back(bound<QWidget>(a.control));
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

void KXcalc::cmdPrint_Click() { tell(services_.printer.printDefault(page())); }

void KXcalc::printChoosing() { tell(services_.printer.printChoosing(page())); }

void KXcalc::savePdf() {
    const std::size_t i = std::size_t(langIndex_);
    const QString name = QDateTime::currentDateTime().toString(u"'kxcalc-'yyyy-MM-dd-HHmm'.pdf'"_qs);
    tell(services_.printer.savePdf(page(), {tables_.pdfTitle[i], tables_.pdfFilter[i], name}));
}

void KXcalc::copySetting() {
    if (!services_.clipboard.put(settingText(), grab().toImage()))
        services_.messages.notice(tables_.clipboardFailedMessage(langIndex_));
}

Page KXcalc::page() {
    return {this, tables_.printedOn[std::size_t(langIndex_)].arg(regionalDateTime(QDateTime::currentDateTime()))};
}

QString KXcalc::settingText() const {
    const std::size_t i = std::size_t(langIndex_);
    const auto input = [this](std::size_t k) {
        const InputControls& in = ui_.inputs[k];
        return QStringLiteral("%1 %2 %3 (%4)")
            .arg(in.caption->text(), in.io.angle->text().trimmed(), in.degree->text(), in.io.list->shownText());
    };
    // kInputSpecs: SCI right, SCI left, TCI right, TCI left.
    QStringList lines{windowTitle(), ui_.lblRightSide->text() + u": "_qs + input(0) + u", "_qs + input(2),
                      ui_.lblLeftSide->text() + u": "_qs + input(1) + u", "_qs + input(3)};
    // Each tile by the name a screen reader gives it.
    for (Field f : {Field::txtFrontTableColor, Field::txtLeftTableColor, Field::txtRightTableColor}) {
        const auto named = std::ranges::find(tables_.accessible, fieldName(f), &LanguageTables::Accessible::control);
        lines << named->name[i] + u": "_qs + fromUtf8(text(f));
    }
    lines << tables_.copiedOn[i].arg(regionalDateTime(QDateTime::currentDateTime()));
    return lines.join(u'\n') + u'\n';
}

void KXcalc::tell(const Printer::Result& result) {
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
