#include "widgets/CDialog.h"

#include "platform/MessageService.h"
#include "widgets/ControlIds.h"

#include <QShowEvent>

CDialog::CDialog(QWidget* parent) : QDialog(parent) {}

void CDialog::initialiseOnce() {
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

int CDialog::DoModal() {
    m_ended = false;
    initialiseOnce();
    if (m_ended)
        return m_result; // ended by its own initialisation
    return exec();
}

void CDialog::showEvent(QShowEvent* event) {
    initialiseOnce();
    QDialog::showEvent(event);
}

bool CDialog::OnInitDialog() {
    return true;
}

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    done(result);
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}

QWidget* CDialog::GetDlgItem(int id) const {
    return FindControl(this, id);
}

void CDialog::GotoDlgCtrl(QWidget* control) {
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}
