#include "kxcalc.h"

#include <QCheckBox>
#include <QIcon>
#include <QPushButton>
#include <algorithm>
#include <ranges>

#include "accessible.h"
#include "angle_input.h"
#include "controls.h"
#include "layout.h"
#include "number_text.h"

namespace kx {

namespace {

const QString kSettingsApp = QStringLiteral("KXcalculator");
const QString kSettingsSection = QStringLiteral("defaults");
const QString kSettingsKey = QStringLiteral("language");

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
    QStringList families{family};
    // Windows still has "MS Sans Serif" as a bitmap font, in a few pixel
    // sizes only: blurred or cut at any other scale. Its outline twin comes
    // first.
    if (family == QLatin1StringView("MS Sans Serif"))
        families.prepend(QStringLiteral("Microsoft Sans Serif"));
    families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

QColor toQColor(Rgb c) { return {c.r, c.g, c.b}; }

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
    connectHandlers();
    setTabOrder();
}

KXcalc::~KXcalc() = default;

void KXcalc::createControls() {
    for (const ControlSpec& spec : controlSpecs()) {
        const QString text = QString::fromUtf8(spec.text);
        QWidget* w = nullptr;
        switch (spec.kind) {
            case ControlKind::Label: {
                QLabel* label = spec.name == std::string_view("lblHyperlink") ? new LinkLabel(this) : new QLabel(this);
                label->setText(text);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                // Captions wrap within their box like the classic labels; the
                // link stays on one line.
                label->setWordWrap(!qobject_cast<LinkLabel*>(label));
                w = label;
                break;
            }
            case ControlKind::TextBox: {
                auto* box = new TextBox(this);
                box->setText(text);
                box->setAlignment((spec.flags & Centered) ? Qt::AlignCenter : Qt::AlignLeft);
                w = box;
                break;
            }
            case ControlKind::MultiLine: {
                auto* box = new NoteBox(this);
                box->setPlainText(text);
                w = box;
                break;
            }
            case ControlKind::ComboBox: {
                auto* list = new InsertList(this);
                list->lineEdit()->setText(text);
                w = list;
                break;
            }
            case ControlKind::ScrollBar: w = new ArrowScrollBar(spec.scrollTop, spec.scrollBottom, this); break;
            case ControlKind::Picture: {
                const auto border = (spec.flags & Border3D)       ? Picture::Border::Sunken
                                    : (spec.flags & BorderSingle) ? Picture::Border::Single
                                                                  : Picture::Border::None;
                auto* picture = new Picture(QLatin1StringView(spec.picture), border, this);
                picture->setFocusPolicy(Qt::StrongFocus);
                w = picture;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(text, this);
                if (spec.picture) {
                    button->setIcon(drawnIcon(QLatin1StringView(spec.picture)));
                    button->setIconSize(QSize(24, 24));
                }
                // A focused button is pressed with Return as well as with
                // Space, as everywhere on the classic desktop.
                button->setAutoDefault(true);
                w = button;
                break;
            }
            case ControlKind::CheckBox: {
                auto* box = new QCheckBox(text, this);
                box->setChecked(spec.flags & Checked);
                w = box;
                break;
            }
        }
        w->setObjectName(QString::fromLatin1(spec.name));
        w->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
                       twipsToPixels(spec.height));
        if (spec.font[0] != '\0')
            w->setFont(makeFont(spec.font));
        const bool plainSurface = spec.kind == ControlKind::Label || spec.kind == ControlKind::TextBox ||
                                  spec.kind == ControlKind::MultiLine || spec.kind == ControlKind::Picture ||
                                  spec.kind == ControlKind::CheckBox;
        const QColor back = spec.back[0] ? namedColor(spec.back) : plainSurface ? namedColor("window") : QColor();
        const QColor fore = spec.fore[0] ? namedColor(spec.fore) : plainSurface ? namedColor("windowtext") : QColor();
        if (back.isValid())
            setControlBackColor(w, back);
        if (fore.isValid())
            setControlForeColor(w, fore);
        if (spec.flags & Hidden)
            w->hide();
        w->setProperty("kxTabIndex", spec.tabIndex);
        controls_.insert(w->objectName(), w);
    }

    // The tiles' names and the notes stand on the window or inside a tile box:
    // they read as plain text there.
    for (const char* name : {"txtRightTableColor", "txtLeftTableColor", "txtFrontTableColor"})
        textBox(name)->setFrame(false);

    // Labels lie beneath every other control: the blue band under the flags,
    // each tile box under its text.
    for (QWidget* w : std::as_const(controls_))
        if (qobject_cast<QLabel*>(w))
            w->lower();

    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const std::string_view name = fieldName(static_cast<Field>(i));
        fieldControls_[i] = control(QString::fromLatin1(name.data(), qsizetype(name.size())));
        Q_ASSERT(fieldControls_[i]);
    }
    autocalc_ = qobject_cast<QCheckBox*>(control(QStringLiteral("chkAutocalc")));
}

void KXcalc::connectHandlers() {
    const AngleInput::Hooks hooks{[this] { return autocalc_->isChecked(); }, [this] { calc_.calctable(); }};
    struct Set {
        Inclination kind;
        bool right;
        const char *angle, *scroll, *list, *effective;
    };
    const Set sets[] = {
        {Inclination::Sagittal, true, "angleSCIright", "scrSCIright", "colorSCIright", "SCIright"},
        {Inclination::Sagittal, false, "angleSCIleft", "scrSCIleft", "colorSCIleft", "SCIleft"},
        {Inclination::Transversal, true, "angleTCIright", "scrTCIright", "colorTCIright", "TCIright"},
        {Inclination::Transversal, false, "angleTCIleft", "scrTCIleft", "colorTCIleft", "TCIleft"},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const Set& s = sets[i];
        const AngleInput::Controls c{textBox(s.angle),
                                     qobject_cast<ArrowScrollBar*>(control(QLatin1StringView(s.scroll))),
                                     insertList(s.list), textBox(s.effective)};
        inputs_[i] = std::make_unique<AngleInput>(s.kind, s.right, c, hooks);
    }

    const auto button = [this](const char* name) {
        return qobject_cast<QAbstractButton*>(control(QLatin1StringView(name)));
    };
    connect(button("cmdCalculate"), &QAbstractButton::clicked, this, &KXcalc::cmdCalculate_Click);
    connect(button("cmdPrint"), &QAbstractButton::clicked, this, &KXcalc::cmdPrint_Click);
    connect(button("cmdEnd"), &QAbstractButton::clicked, this, &KXcalc::cmdEnd_Click);
    connect(button("chkDebug"), &QAbstractButton::clicked, this, &KXcalc::chkDebug_Click);
    auto* link = qobject_cast<LinkLabel*>(control(QStringLiteral("lblHyperlink")));
    connect(link, &LinkLabel::clicked, this, &KXcalc::lblHyperlink_Click);
    // The link has no place in the Tab order, so the keyboard reaches it by a
    // shortcut from anywhere in the window: W for web in all three languages.
    link->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
    const std::pair<const char*, int> flags[] = {{"picGe", 0}, {"picUS", 1}, {"picIT", 2}};
    for (const auto& [name, lang] : flags)
        connect(qobject_cast<Picture*>(control(QLatin1StringView(name))), &Picture::clicked, this,
                [this, lang = lang] { chooseLanguage(lang); });
}

void KXcalc::setTabOrder() {
    std::vector<QWidget*> order;
    for (QWidget* w : std::as_const(controls_))
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

TextBox* KXcalc::textBox(const char* name) const { return qobject_cast<TextBox*>(control(QLatin1StringView(name))); }

InsertList* KXcalc::insertList(const char* name) const {
    return qobject_cast<InsertList*>(control(QLatin1StringView(name)));
}

// --- start-up and languages

void KXcalc::formLoad() {
    const QString word = services_.settings.read(kSettingsApp, kSettingsSection, kSettingsKey);
    if (word.isEmpty()) {
        services_.settings.write(kSettingsApp, kSettingsSection, kSettingsKey, QStringLiteral("english"));
        langIndex_ = 1;
    } else {
        // Exactly one of the three words; any other text means German and
        // stays in the setting as it is.
        const QString words[] = {QStringLiteral("german"), QStringLiteral("english"), QStringLiteral("italian")};
        const auto it = std::ranges::find(words, word);
        langIndex_ = it == std::end(words) ? 0 : int(it - std::begin(words));
    }
    // The tables are complete before the first text is written: those writes
    // recalculate, and the tiles read the colour names.
    tables_ = makeLanguageTables();
    applyLanguage();
    resetInputs();
}

void KXcalc::chooseLanguage(int lang) {
    langIndex_ = lang;
    services_.settings.write(kSettingsApp, kSettingsSection, kSettingsKey, tables_.settingWord[lang]);
    applyLanguage();
    resetInputs();
}

void KXcalc::applyLanguage() {
    const int i = langIndex_;
    const LanguageTables& t = tables_;
    setWindowTitle(t.windowTitle[i] + QLatin1Char(' ') + QLatin1StringView(kProgramVersion));
    applyAccessibleTexts();
    const auto caption = [this](const char* name, const QString& text) {
        qobject_cast<QLabel*>(control(QLatin1StringView(name)))->setText(text);
    };
    caption("lblTitleB", t.titleB[i]);
    caption("lblArticulatorSetting", t.articulatorSetting[i]);
    caption("lblRightSide", t.right[i]);
    caption("lblLeftSide", t.left[i]);
    caption("lblSCIright", t.sci[i]);
    caption("lblSCIleft", t.sci[i]);
    caption("lblTCIright", t.tci[i]);
    caption("lblTCIleft", t.tci[i]);
    caption("lblRightTeeth", t.rightSetting[i]);
    caption("lblLeftTeeth", t.leftSetting[i]);
    for (const char* name : {"lblAngleSCIright", "lblAngleSCIleft", "lblAngleTCIright", "lblAngleTCIleft"})
        caption(name, t.degree[i]);

    // Writing a list's shown text is an edit of it: its handler puts the
    // default insert back, as after a person's typing.
    const QString sciItems[] = {t.white[i], t.yellow[i], t.red[i], t.blue[i], t.black[i]};
    for (const char* name : {"colorSCIright", "colorSCIleft", "colorTCIright", "colorTCIleft"}) {
        InsertList* list = insertList(name);
        const bool sci = QLatin1StringView(name).contains(QLatin1StringView("SCI"));
        list->clearList();
        for (const QString& item : std::span(sciItems).first(sci ? 5 : 4))
            list->appendItem(item);
        const InsertLook look = insertLook(sci ? 3 : 0);
        list->writeText(sci ? t.blue[i] : t.white[i]);
        setControlBackColor(list, toQColor(look.back));
        setControlForeColor(list, toQColor(look.fore));
    }

    for (const char* name : {"angleSCIright", "angleSCIleft", "angleTCIright", "angleTCIleft"})
        textBox(name)->write(QStringLiteral("0"));

    // The effective fields in the order TCIleft, TCIright, SCIleft, SCIright.
    for (std::size_t k : {3u, 2u, 1u, 0u})
        inputs_[k]->writeEffective();

    qobject_cast<NoteBox*>(control(QStringLiteral("notetitletxt")))->write(t.noteTitle[i]);
    qobject_cast<NoteBox*>(control(QStringLiteral("notetxt")))->write(t.note[i]);
    qobject_cast<NoteBox*>(control(QStringLiteral("copyrighttxt")))
        ->write(t.version[i] + QLatin1StringView(kProgramVersion) + QStringLiteral(" - ") + t.copyright[i]);
}

void KXcalc::applyAccessibleTexts() {
    const int i = langIndex_;
    for (const LanguageTables::Accessible& a : tables_.accessible) {
        QWidget* w = control(QLatin1StringView(a.control));
        Q_ASSERT(w);
        // A list's edit part takes the list's name: a screen reader lands on
        // it when the list has the focus.
        QWidget* edit = qobject_cast<InsertList*>(w) ? static_cast<InsertList*>(w)->lineEdit() : nullptr;
        for (QWidget* target : {w, edit}) {
            if (!target)
                continue;
            target->setAccessibleName(a.name[i]);
            // The tiles' descriptions follow the calculation, which writes
            // them with the chosen element's name.
            if (!a.description[i].isEmpty())
                target->setAccessibleDescription(a.description[i]);
        }
    }
    auto* link = qobject_cast<LinkLabel*>(control(QStringLiteral("lblHyperlink")));
    link->setToolTip(QStringLiteral("%1 (%2)").arg(link->accessibleDescription(),
                                                   link->shortcut().toString(QKeySequence::NativeText)));
}

void KXcalc::resetInputs() {
    insertList("colorSCIright")->setSelectedIndex(3);
    insertList("colorSCIleft")->setSelectedIndex(3);
    struct Reset {
        const char *angle, *scroll;
        int value;
    };
    const Reset resets[] = {{"angleSCIright", "scrSCIright", 45},
                            {"angleSCIleft", "scrSCIleft", 45},
                            {"angleTCIright", "scrTCIright", 6},
                            {"angleTCIleft", "scrTCIleft", 6}};
    for (const Reset& r : resets) {
        textBox(r.angle)->write(QString::number(r.value));
        qobject_cast<ArrowScrollBar*>(control(QLatin1StringView(r.scroll)))->setAngle(r.value);
    }
}

// --- commands

void KXcalc::cmdCalculate_Click() { calc_.calctable(); }

void KXcalc::cmdPrint_Click() {
    QString reason;
    if (!services_.printer.print(grab().toImage(), &reason))
        services_.messages.notice(reason == QLatin1StringView("no-printer")
                                      ? tables_.noPrinterMessage(langIndex_)
                                      : tables_.printFailedMessage(langIndex_, reason));
}

void KXcalc::cmdEnd_Click() { services_.programEnd.end(); }

void KXcalc::chkDebug_Click() {
    const auto* box = qobject_cast<QCheckBox*>(control(QStringLiteral("chkDebug")));
    setOuterHeight(box->checkState() == Qt::Checked ? 7485 : 6030);
}

void KXcalc::setOuterHeight(int twips) {
    outerHeightTwips_ = twips;
    setFixedHeight(twipsToPixels(std::max(0, twips - kFrameHeightTwips)));
}

void KXcalc::lblHyperlink_Click() { HyperJump(qobject_cast<QLabel*>(control(QStringLiteral("lblHyperlink")))->text()); }

void KXcalc::HyperJump(const QString& url) { services_.browser.open(url); }

// --- the calculation's view of the window

std::string KXcalc::text(Field f) const {
    return static_cast<const TextBox*>(fieldControls_[std::size_t(f)])->text().toStdString();
}

void KXcalc::setText(Field f, std::string_view utf8) {
    auto* box = static_cast<TextBox*>(fieldControls_[std::size_t(f)]);
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    box->write(text);
    // A tile tells assistive technology the element chosen for it, in the
    // window's language, also when a person has typed over its text.
    if ((f == Field::txtRightTableColor || f == Field::txtLeftTableColor || f == Field::txtFrontTableColor) &&
        !tables_.tileDescription[langIndex_].isEmpty())
        box->setAccessibleDescription(tables_.tileDescription[langIndex_].arg(text));
}

void KXcalc::setBackColor(Field f, Rgb c) { setControlBackColor(fieldControls_[std::size_t(f)], toQColor(c)); }

void KXcalc::setForeColor(Field f, Rgb c) { setControlForeColor(fieldControls_[std::size_t(f)], toQColor(c)); }

void KXcalc::reportFault(const CalcFault& fault) {
    services_.messages.calculationFault(tables_.faultMessage(langIndex_, fault.kind(), fault.stage()));
}

}  // namespace kx
