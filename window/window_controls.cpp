#include "window_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <algorithm>
#include <ranges>

#include "controls.h"

namespace kx {

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

QFont tableFont(const char* spec) {
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
    // only: blurred or cut at other scales. Its outline twin takes its place
    // where it is installed; elsewhere Arial's metric twin stands in for
    // both, asked for exactly as the window's font, so that the two share one
    // loaded font instead of loading the same face twice.
    QStringList families;
    if (family == QLatin1StringView("MS Sans Serif")) {
        static const bool outlineTwin = QFontDatabase::hasFamily(QStringLiteral("Microsoft Sans Serif"));
        if (outlineTwin)
            families << QStringLiteral("Microsoft Sans Serif");
    } else if (family != QLatin1StringView("Arial")) {
        families << family;
    }
    families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

namespace {

QWidget* makeLabel(const ControlSpec& spec, QWidget* window) {
    const bool link = spec.kind == ControlKind::Link;
    QLabel* label = link ? new LinkLabel(window) : new QLabel(window);
    label->setText(QString::fromUtf8(spec.text));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Captions wrap within their box like the classic labels; the link stays
    // on one line.
    label->setWordWrap(!link);
    return label;
}

QWidget* makeArrows(const ControlSpec& spec, QWidget* window) {
    const auto input = std::ranges::find(kInputSpecs, std::string_view(spec.name), &InputSpec::scroll);
    if (input == kInputSpecs.end())
        qFatal("KXcalc: the arrow pair %s belongs to no input", spec.name);
    const AngleRange range = angleRange(input->kind);
    return new ArrowScrollBar(range.high, range.low, window);
}

QWidget* makePicture(const ControlSpec& spec, QWidget* window) {
    const auto border = (spec.flags & Border3D)       ? Picture::Border::Sunken
                        : (spec.flags & BorderSingle) ? Picture::Border::Single
                                                      : Picture::Border::None;
    auto* picture = new Picture(QLatin1StringView(spec.picture), border, window);
    picture->setFocusPolicy(Qt::StrongFocus);
    return picture;
}

QWidget* makeButton(const ControlSpec& spec, QWidget* window) {
    auto* button = new IconButton(QString::fromUtf8(spec.text), window);
    if (spec.picture) {
        button->setIcon(drawnIcon(QLatin1StringView(spec.picture)));
        button->setIconSize(QSize(24, 24));
    }
    // A focused button is pressed with Return as well as with Space, as
    // everywhere on the classic desktop.
    button->setAutoDefault(true);
    return button;
}

QWidget* makeControl(const ControlSpec& spec, QWidget* window) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
        case ControlKind::Label:
        case ControlKind::Link: return makeLabel(spec, window);
        case ControlKind::TextBox: {
            auto* box = new TextBox(window);
            box->setText(text);
            box->setAlignment((spec.flags & Centered) ? Qt::AlignCenter : Qt::AlignLeft);
            return box;
        }
        case ControlKind::MultiLine: {
            auto* box = new NoteBox(window);
            box->setPlainText(text);
            return box;
        }
        case ControlKind::ComboBox: {
            auto* list = new InsertList(window);
            list->lineEdit()->setText(text);
            // Every insert in view at once, without scrolling.
            list->setMaxVisibleItems(int(kInsertCount));
            return list;
        }
        case ControlKind::ScrollBar: return makeArrows(spec, window);
        case ControlKind::Picture: return makePicture(spec, window);
        case ControlKind::Button: return makeButton(spec, window);
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(text, window);
            box->setChecked(spec.flags & Checked);
            return box;
        }
    }
    qFatal("KXcalc: control %s has no kind", spec.name);
}

// A control's colours as its row gives them: lists, arrow pairs and buttons
// keep the system's (invalid colours) unless their row names others; every
// other control is a plain window surface.
std::pair<QColor, QColor> tableColors(const ControlSpec& spec) {
    const bool plainSurface =
        spec.kind != ControlKind::ComboBox && spec.kind != ControlKind::ScrollBar && spec.kind != ControlKind::Button;
    return {spec.back[0]   ? namedColor(spec.back)
            : plainSurface ? namedColor("window")
                           : QColor(),
            spec.fore[0]   ? namedColor(spec.fore)
            : plainSurface ? namedColor("windowtext")
                           : QColor()};
}

void styleControl(QWidget* w, const ControlSpec& spec) {
    w->setObjectName(QString::fromLatin1(spec.name));
    w->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
                   twipsToPixels(spec.height));
    if (spec.font[0] != '\0')
        w->setFont(tableFont(spec.font));
    const auto [back, fore] = tableColors(spec);
    if (back.isValid())
        setControlBackColor(w, back);
    if (fore.isValid())
        setControlForeColor(w, fore);
    if (spec.flags & Hidden)
        w->hide();
    w->setProperty("kxTabIndex", spec.tabIndex);
}

}  // namespace

void WindowControls::build(QWidget* window) {
    // A new window starts with the focus on the first control that takes it.
    if (const std::vector<QWidget*> tabOrder = make(window, false); !tabOrder.empty())
        tabOrder.front()->setFocus(Qt::OtherFocusReason);
}

namespace {
// A new line edit lays out its text in the application's font before it
// takes its own: while the window's controls are made, that font is the
// window's, so that no other face is loaded for it.
class WindowFontForNewControls {
public:
    explicit WindowFontForNewControls(const QWidget* window) : saved_(QApplication::font()) {
        QApplication::setFont(window->font());
    }
    ~WindowFontForNewControls() { QApplication::setFont(saved_); }
    WindowFontForNewControls(const WindowFontForNewControls&) = delete;
    WindowFontForNewControls& operator=(const WindowFontForNewControls&) = delete;

private:
    QFont saved_;
};
}  // namespace

void WindowControls::buildHidden(QWidget* window) {
    if (!hiddenBuilt_)
        make(window, true);
    hiddenBuilt_ = true;
}

namespace {
// A control's row in the table, or nullptr.
const ControlSpec* findSpec(QAnyStringView name) {
    const auto spec =
        std::ranges::find_if(controlSpecs(), [&](const ControlSpec& s) { return name == QLatin1StringView(s.name); });
    return spec == controlSpecs().end() ? nullptr : &*spec;
}
}  // namespace

bool WindowControls::isHidden(const QString& name) {
    const ControlSpec* spec = findSpec(name);
    return spec && (spec->flags & Hidden);
}

std::vector<QWidget*> WindowControls::make(QWidget* window, bool hidden) {
    const WindowFontForNewControls windowFont(window);
    const std::span<const ControlSpec> specs = controlSpecs();
    byRow_.resize(specs.size());
    for (std::size_t row = 0; row < specs.size(); ++row) {
        const ControlSpec& spec = specs[row];
        if (bool(spec.flags & Hidden) != hidden)
            continue;
        QWidget* w = makeControl(spec, window);
        styleControl(w, spec);
        byName_.insert(w->objectName(), w);
        byRow_[row] = w;
    }

    // Labels lie beneath every other control: the blue band under the flags,
    // each tile box under its text; they lie in the reverse order of the
    // table, the way lowering each in turn leaves them.
    std::vector<QWidget*> labels, others;
    for (QWidget* w : byRow_)
        if (w)
            (qobject_cast<QLabel*>(w) ? labels : others).push_back(w);
    for (auto w = labels.rbegin(); w != labels.rend(); ++w)
        (*w)->raise();
    for (QWidget* w : others)
        w->raise();

    // The Tab order of the table over the controls that take the focus; a
    // label never does.
    std::vector<QWidget*> tabOrder;
    for (QWidget* w : others)
        if (w->focusPolicy() != Qt::NoFocus)
            tabOrder.push_back(w);
    for (QWidget* w : labels)
        w->setFocusPolicy(Qt::NoFocus);
    std::ranges::sort(tabOrder, {}, [](QWidget* w) { return w->property("kxTabIndex").toInt(); });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    return tabOrder;
}

namespace {

const ControlSpec& specNamed(std::string_view name) {
    const ControlSpec* spec = findSpec(QLatin1StringView(name.data(), qsizetype(name.size())));
    if (!spec)
        qFatal("KXcalc: the control table has no %s", std::string(name).c_str());
    return *spec;
}

Rgb toRgb(const QColor& c) { return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())}; }

}  // namespace

Worksheet WindowControls::initialWorksheet() {
    Worksheet sheet;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        sheet.fields[i] = specNamed(fieldName(Field(i))).text;
    for (std::size_t i = 0; i < kTileCount; ++i) {
        const TileControls names = tileControls(TilePosition(i));
        const ControlSpec& text = specNamed(names.text);
        const auto [back, fore] = tableColors(text);
        sheet.tiles[i] = {text.text, toRgb(tableColors(specNamed(names.box)).first), toRgb(back), toRgb(fore)};
    }
    sheet.autocalc = specNamed("chkAutocalc").flags & Checked;
    sheet.debug = specNamed("chkDebug").flags & Checked ? 1 : 0;
    return sheet;
}

TileShown WindowControls::tile(TilePosition position) const {
    const TileControls names = tileControls(position);
    return {bound<QLabel>(std::string(names.box).c_str()), bound<TextBox>(std::string(names.text).c_str())};
}

InputControls WindowControls::input(std::size_t i) const {
    const InputSpec& s = kInputSpecs[i];
    return {bound<QLabel>(s.caption),
            bound<QLabel>(s.degree),
            {bound<TextBox>(s.angle), bound<ArrowScrollBar>(s.scroll), bound<InsertList>(s.list), s.effective}};
}

}  // namespace kx
