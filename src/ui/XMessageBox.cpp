#include "ui/XMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/ProfileStore.h"
#include "presentation/HelpService.h"
#include "settings/ColorSettings.h"

namespace corvane {
namespace {

std::function<void(uint32_t, unsigned)>& HelpHandler() {
    static std::function<void(uint32_t, unsigned)> handler;
    return handler;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QColor ColorOf(uint32_t color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QStyle::StandardPixmap PixmapOf(XIcon icon) {
    switch (icon) {
        case XIcon::Stop:
            return QStyle::SP_MessageBoxCritical;
        case XIcon::Question:
            return QStyle::SP_MessageBoxQuestion;
        case XIcon::Information:
            return QStyle::SP_MessageBoxInformation;
        default:
            return QStyle::SP_MessageBoxWarning;
    }
}

// The plain box for a stop icon with system modal: no countdown, no check box. ids takes the
// result of each of its buttons.
QMessageBox* NewSystemBox(QWidget* owner, const XMessageBoxModel& model,
                          std::map<QAbstractButton*, int>& ids) {
    auto* box = new QMessageBox(QMessageBox::Critical, Q(model.WindowCaption()), Q(model.Text()),
                                QMessageBox::NoButton, owner);
    for (const XButton& b : model.Buttons()) {
        if (b.id == xid::kHelp || b.id == xid::kReport) {
            continue;
        }
        QPushButton* button = box->addButton(Q(b.text), QMessageBox::AcceptRole);
        ids[button] = b.id;
        if (b.id == model.DefaultButtonId()) {
            box->setDefaultButton(button);
        }
        if (model.EscapeResult() == b.id) {
            box->setEscapeButton(button);
        }
    }
    return box;
}

// The result of a system box that has ended: its clicked button's, else Escape's or the
// default's.
int SystemBoxResult(const QMessageBox& box, const std::map<QAbstractButton*, int>& ids,
                    int fallback) {
    const auto it = ids.find(box.clickedButton());
    return it != ids.end() ? it->second : fallback;
}

int FallbackResult(const XMessageBoxModel& model) {
    return model.EscapeResult().value_or(model.DefaultButtonId());
}

int SystemBox(QWidget* owner, const XMessageBoxModel& model) {
    std::map<QAbstractButton*, int> ids;
    const std::unique_ptr<QMessageBox> box(NewSystemBox(owner, model, ids));
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    return SystemBoxResult(*box, ids, FallbackResult(model));
}

}  // namespace

int XMessageBox(QWidget* owner, const std::string& text, const std::string& caption, unsigned style,
                const XMessageBoxParams* params) {
    XMessageBoxModel model(text, caption, style, params != nullptr ? *params : XMessageBoxParams{},
                           &Profile(), QCoreApplication::applicationName().toStdString());
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    if (model.UsesSystemBox()) {
        return SystemBox(owner, model);
    }
    if (const auto remembered = model.RememberedResult()) {
        return *remembered;
    }
    if ((style & xmb::kNoSound) == 0) {
        QApplication::beep();
    }
    CXMessageBoxDialog dialog(model, owner);
    return dialog.exec();
}

QDialog* OpenXMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                         unsigned style, const XMessageBoxParams* params,
                         std::function<void(int)> onResult) {
    auto model = std::make_unique<XMessageBoxModel>(
        text, caption, style, params != nullptr ? *params : XMessageBoxParams{}, &Profile(),
        QCoreApplication::applicationName().toStdString());
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    auto finish = [onResult = std::move(onResult)](int result) {
        if (onResult) {
            onResult(result);
        }
    };
    if (model->UsesSystemBox()) {
        auto ids = std::make_shared<std::map<QAbstractButton*, int>>();
        QMessageBox* box = NewSystemBox(owner, *model, *ids);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QDialog::finished, box,
                         [box, ids, fallback = FallbackResult(*model), finish](int) {
                             finish(SystemBoxResult(*box, *ids, fallback));
                         });
        box->open();
        return box;
    }
    if (const auto remembered = model->RememberedResult()) {
        finish(*remembered);
        return nullptr;
    }
    if ((style & xmb::kNoSound) == 0) {
        QApplication::beep();
    }
    auto* box = new CXMessageBoxDialog(std::move(model), owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box, finish);
    box->open();
    return box;
}

void CXMessageBoxDialog::SetHelpHandler(std::function<void(uint32_t, unsigned)> handler) {
    HelpHandler() = std::move(handler);
}

CXMessageBoxDialog::CXMessageBoxDialog(XMessageBoxModel& model, QWidget* owner,
                                       std::chrono::milliseconds second)
    : CXMessageBoxDialog(model, nullptr, owner, second) {}

CXMessageBoxDialog::CXMessageBoxDialog(std::unique_ptr<XMessageBoxModel> model, QWidget* owner)
    : CXMessageBoxDialog(*model, std::move(model), owner, std::chrono::seconds(1)) {}

CXMessageBoxDialog::CXMessageBoxDialog(XMessageBoxModel& model,
                                       std::unique_ptr<XMessageBoxModel>&& owned, QWidget* owner,
                                       std::chrono::milliseconds second)
    : QDialog(owner), ownedModel_(std::move(owned)), model_(model) {
    const unsigned bits = model.Style();
    const XMessageBoxParams& params = model.Params();
    const bool wide = (params.options & xmb::kWideStyle) != 0;
    setWindowModality(Qt::ApplicationModal);
    if (bits & xmb::kTopmost) {
        setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    if (!model.EscapeResult()) {
        setWindowFlag(Qt::WindowCloseButtonHint, false);
    }
    if (params.backgroundColor != XMessageBoxParams::kNoColor) {
        QPalette p = palette();
        p.setColor(QPalette::Window, ColorOf(params.backgroundColor));
        setPalette(p);
        setAutoFillBackground(true);
    }

    const QFontMetrics metrics = fontMetrics();
    const int unitX = std::max(1, metrics.averageCharWidth());
    const int unitY = std::max(1, metrics.height());
    auto* layout = new QVBoxLayout(this);
    const int margin = wide ? 24 : 8;
    layout->setContentsMargins(margin, margin, 16, 12);
    layout->setSpacing(wide ? 14 : 10);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    int iconWidth = 0;
    if (model.Icon() != XIcon::None) {
        auto* icon = new QLabel(this);
        icon->setObjectName("icon");
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(
            style()->standardIcon(PixmapOf(model.Icon()), nullptr, this).pixmap(size, size));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon);
        iconWidth = size + 16;
    }
    auto* message = new QLabel(Q(model.Text()), this);
    message->setObjectName("message");
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->availableGeometry().width() : 1024;
    int wrap = screenWidth / 2 + 80;
    if (params.options & xmb::kNarrowMessage) {
        wrap = screenWidth / 3;
    } else if (wide) {
        wrap = screenWidth / 2 - 10;
    }
    message->setMaximumWidth(std::max(100, wrap - iconWidth));
    if (params.textColor != XMessageBoxParams::kNoColor) {
        QPalette p = message->palette();
        p.setColor(QPalette::WindowText, ColorOf(params.textColor));
        message->setPalette(p);
    }
    top->addWidget(message, 1);
    layout->addLayout(top);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    const bool rightJustified = (params.options & (xmb::kRightJustifyButtons | xmb::kWideStyle));
    row->addStretch(1);
    const int minimum = (38 + (wide ? 6 : 0)) * unitX / 4;
    const int height = (12 + (wide ? 1 : 0)) * unitY / 8 + 6;
    const int countdownRoom = model.TimeoutSeconds() > 0 ? 13 * unitX / 4 : 0;
    for (const XButton& b : model.Buttons()) {
        auto* button = new QPushButton(Q(b.text), this);
        button->setObjectName(QString::number(b.id));
        button->setAutoDefault(false);
        button->setMinimumWidth(
            std::max(
                minimum,
                metrics.horizontalAdvance(Q(XMessageBoxModel::WithoutAmpersands(b.text))) + 20) +
            countdownRoom);
        button->setMinimumHeight(height);
        connect(button, &QPushButton::clicked, this, [this, id = b.id] { OnButton(id); });
        buttons_[b.id] = button;
        row->addWidget(button);
    }
    if (!rightJustified) {
        row->addStretch(1);
    }
    layout->addLayout(row);

    if (!model.CheckBoxText().empty()) {
        checkBox_ = new QCheckBox(Q(model.CheckBoxText()), this);
        checkBox_->setObjectName(QString::number(xid::kCheckBox));
        checkBox_->setChecked(false);
        connect(checkBox_, &QCheckBox::clicked, this, [this] { StopTimeout(); });
        layout->addWidget(checkBox_);
    }
    setMinimumHeight(70);

    if (QPushButton* def = Button(model.DefaultButtonId())) {
        def->setDefault(true);
        def->setFocus();
    }
    timeoutTimer_.setInterval(second);
    disabledTimer_.setInterval(second);
    connect(&timeoutTimer_, &QTimer::timeout, this, &CXMessageBoxDialog::OnTimeoutTick);
    connect(&disabledTimer_, &QTimer::timeout, this, &CXMessageBoxDialog::OnDisabledTick);
    if (model.IsTimeoutRunning()) {
        timeoutTimer_.start();
    }
    if (model.DisabledSeconds() > 0) {
        disabledTimer_.start();
    }
    Refresh();
}

void CXMessageBoxDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const XMessageBoxParams& params = model_.Params();
    if (params.x != 0 || params.y != 0) {
        move(params.x, params.y);
    }
    if (model_.Style() & (xmb::kSetForeground | xmb::kTopmost)) {
        raise();
        activateWindow();
    }
}

QPushButton* CXMessageBoxDialog::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

bool CXMessageBoxDialog::Checked() const {
    return checkBox_ != nullptr && checkBox_->isChecked();
}

void CXMessageBoxDialog::Refresh() {
    for (const auto& [id, button] : buttons_) {
        button->setText(Q(model_.ButtonText(id)));
        button->setEnabled(model_.IsButtonEnabled(id));
    }
    setWindowTitle(Q(model_.WindowCaption()));
}

void CXMessageBoxDialog::StopTimeout() {
    if (model_.IsTimeoutRunning()) {
        model_.StopTimeout();
        timeoutTimer_.stop();
        Refresh();
    }
}

void CXMessageBoxDialog::OnButton(int id) {
    StopTimeout();
    if (id == xid::kHelp) {
        const uint32_t context = model_.Params().helpContextId;
        if (HelpHandler()) {
            HelpHandler()(context, context != 0 ? help::kContext : help::kPartialKey);
        }
        return;
    }
    if (const auto result = model_.Press(id, Checked())) {
        done(*result);
    }
}

void CXMessageBoxDialog::OnTimeoutTick() {
    const auto result = model_.OnTimeoutTick(Checked());
    Refresh();
    if (result) {
        timeoutTimer_.stop();
        done(*result);
    }
}

void CXMessageBoxDialog::OnDisabledTick() {
    if (model_.OnDisabledTick()) {
        disabledTimer_.stop();
    }
    Refresh();
}

void CXMessageBoxDialog::reject() {
    if (const auto result = model_.Escape()) {
        done(*result);
    }
}

void CXMessageBoxDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(Q(model_.ClipboardText()));
        return;
    }
    QDialog::keyPressEvent(event);
}

void CXMessageBoxDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        StopTimeout();
    }
    QDialog::mousePressEvent(event);
}

}  // namespace corvane
