#include "working_area.h"

#include <QCheckBox>
#include <QPushButton>

#include "controls.h"
#include "window_controls.h"

namespace kx {

namespace {
// A check box's value as the program knows it: 0 clear, 1 ticked, 2 greyed.
int valueOf(Qt::CheckState state) { return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0; }
Qt::CheckState stateOf(int value) {
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
}  // namespace

WorkingArea::WorkingArea(QWidget* window, WindowControls& controls, Worksheet& sheet, Handlers handlers)
    : sheet_(sheet) {
    controls.buildHidden(window);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields_[i] = controls.bound<TextBox>(std::string(fieldName(Field(i))).c_str());
    autocalc_ = controls.bound<QCheckBox>("chkAutocalc");
    debug_ = controls.bound<QCheckBox>("chkDebug");
    rightTeeth_ = controls.bound<QLabel>("lblRightTeeth");
    leftTeeth_ = controls.bound<QLabel>("lblLeftTeeth");
    show();

    for (std::size_t i = 0; i < kFieldCount; ++i)
        connect(fields_[i], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { sheet_.fields[i] = text.toStdString(); });
    connect(autocalc_, &QAbstractButton::toggled, this, [this](bool on) { sheet_.autocalc = on; });
    connect(debug_, &QAbstractButton::clicked, this, [this, clicked = std::move(handlers.debugClicked)] {
        sheet_.debug = valueOf(debug_->checkState());
        clicked();
    });
    connect(controls.bound<QPushButton>("cmdCalculate"), &QAbstractButton::clicked, this,
            std::move(handlers.calculate));
}

void WorkingArea::show() {
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields_[i]->write(QString::fromStdString(sheet_.fields[i]));
    autocalc_->setChecked(sheet_.autocalc);
    debug_->setCheckState(stateOf(sheet_.debug));
}

void WorkingArea::setHeadings(const QString& right, const QString& left) {
    rightTeeth_->setText(right);
    leftTeeth_->setText(left);
}

}  // namespace kx
