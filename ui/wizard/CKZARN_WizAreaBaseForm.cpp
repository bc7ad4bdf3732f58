#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

#include <QKeyEvent>
#include <QLabel>

CKZARN_WizAreaBaseForm::CKZARN_WizAreaBaseForm(int templateId, QWidget* parent)
    : QWidget(parent), templateId_(templateId)
{
}

CKZARN_WizAreaBaseForm::~CKZARN_WizAreaBaseForm() = default;

BOOL CKZARN_WizAreaBaseForm::Create(QWidget* frame)
{
    setParent(frame);
    OnInitDialog();
    return TRUE;
}

void CKZARN_WizAreaBaseForm::ShowPhoto(const std::string& /*path*/, const ExifInputValues* /*record*/) {}

QWidget* CKZARN_WizAreaBaseForm::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CKZARN_WizAreaBaseForm::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}

BOOL CKZARN_WizAreaBaseForm::PreTranslateMessage(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Declined: the key goes on to the wizard, whose cancel handling applies.
        event->ignore();
        return TRUE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return TRUE;
    default: return FALSE;
    }
}

void CKZARN_WizAreaBaseForm::keyPressEvent(QKeyEvent* event)
{
    if (!PreTranslateMessage(event))
        QWidget::keyPressEvent(event);
}

void CKZARN_WizAreaBaseForm::FitTextRowsToFont()
{
    for (const auto& [id, control] : controls_) {
        auto* label = qobject_cast<QLabel*>(control);
        if (label == nullptr || label->wordWrap())
            continue;
        const int line = label->fontMetrics().height();
        if (label->height() >= line)
            continue;
        const int grow = line - label->height();
        label->setGeometry(label->x(), label->y() - grow / 2, label->width(), line);
    }
}
