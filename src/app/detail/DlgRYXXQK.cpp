#include "app/detail/DlgRYXXQK.h"

#include "ado/AdoRecordSet.h"
#include "app/detail/ResidentPhoto.h"
#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "app/users/Rights.h"
#include "office/WordDocument.h"
#include "platform/Clock.h"
#include "platform/ShellService.h"
#include "platform/FileDialogService.h"
#include "platform/FormatText.h"
#include "platform/Gbk.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/SqlLiteral.h"
#include "platform/TextFile.h"
#include "records/ResidentCatalogue.h"
#include "ui_DlgRYXXQK.h"
#include "widgets/BusyCursor.h"
#include "widgets/ControlIds.h"
#include "widgets/ScrollingForm.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <cstring>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace adodb;

namespace {

const QString kPhotoColumn = QStringLiteral("照片");
constexpr int kButtonRowTop = 712; // the buttons' row starts here, the fields above it
const QString kFamilySizeColumn = QStringLiteral("家庭人口");
const QString kBirthDateColumn = QStringLiteral("出生日期");
const QString kTemporaryPhoto = QStringLiteral("临时照片.bmp");
const QString kScaledPhoto = QStringLiteral("C:\\临时图像文件.jpg");

// The controls of the dates the query form does not take, and the others no exact-query
// clause reads.
const int kQueryDisabled[] = {1004, 1025, 1026, 1030, 1029, 1018, 1037, 1039,
                              1042, 1043, 1021, 1022, 1024};

bool onForm(const ResidentColumn& c) {
    return (c.kind == ColumnKind::Text || c.kind == ColumnKind::Date) && c.controlId != 0 &&
           c.control != FormControl::DateCombos;
}

} // namespace

const QStringList& CDlgRYXXQK::WrittenColumns() {
    static const QStringList columns = QStringLiteral(
        "工作单位,姓名,曾用名,户主,性别,出生地,民族,籍贯,出生日期,其它住址,身份证号,政治面貌,"
        "文化程度,婚姻状况,职业,何时迁来本县,何时迁来本址,何地迁来本县,何地迁来本址,死亡日期,"
        "登记日期,服务处所,备注2,备注,注销,户口簿编号,户口性质,家庭人口,手机,股民,配偶姓名,"
        "配偶电话,拥有土地,楼房住户,节育措施,血型,低保,医保,廉租房")
                                           .split(QLatin1Char(','));
    return columns;
}

CDlgRYXXQK::CDlgRYXXQK(QWidget* parent)
    : CDialog(parent), m_ui(std::make_unique<Ui::CDlgRYXXQK>()) {
    m_ui->setupUi(this);
    setFont(QFont(QStringLiteral("宋体"), 9));
    m_ui->c1004->hide();
    m_ui->c1004->setEnabled(false);
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(ChoiceList(ControlId(box)));
        box->setCurrentIndex(-1);
    }
    m_ui->c1070->setColumnCount(6);
    connect(m_ui->save, &QPushButton::clicked, this, &CDlgRYXXQK::OnOK);
    connect(m_ui->back, &QPushButton::clicked, this, &CDlgRYXXQK::OnCancel);
    connect(m_ui->previous, &QPushButton::clicked, this, &CDlgRYXXQK::OnPrevious);
    connect(m_ui->next, &QPushButton::clicked, this, &CDlgRYXXQK::OnNext);
    connect(m_ui->photo, &QPushButton::clicked, this, &CDlgRYXXQK::OnChangePhoto);
    connect(m_ui->print, &QPushButton::clicked, this, &CDlgRYXXQK::OnPrint);
    m_ui->c1013->installEventFilter(this); // Enter in the remarks saves
    m_ui->photoFrame->installEventFilter(this); // the photo is painted in its frame
    m_form = std::make_unique<ScrollingForm>(this, kButtonRowTop);
}

CDlgRYXXQK::~CDlgRYXXQK() = default;

QWidget* CDlgRYXXQK::control(int id) const {
    return FindControl(this, id);
}

QString CDlgRYXXQK::controlText(int id) const {
    QWidget* w = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        return text->toPlainText();
    return QString();
}

void CDlgRYXXQK::setControlText(int id, const QString& text) {
    QWidget* w = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* box = qobject_cast<QComboBox*>(w))
        box->setCurrentText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setPlainText(text);
}

bool CDlgRYXXQK::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        for (const ResidentColumn& c : ResidentColumns())
            if (onForm(c))
                setControlText(c.controlId, m_strFields.value(c.name));
        setControlText(1018, m_strYear);
        setControlText(1037, m_strMonth);
        setControlText(1039, m_strDay);
        setControlText(1004, m_strBirthDate);
        setControlText(1060, QString::number(m_nFamilySize));
        m_ui->continuous->setChecked(m_bContinuousAdd != 0);
        return true;
    }
    bool ok = false;
    const int familySize = controlText(1060).trimmed().toInt(&ok);
    if (!ok) {
        refuse(QStringLiteral("请键入一个整数。"), 1060);
        return false;
    }
    m_nFamilySize = familySize;
    for (const ResidentColumn& c : ResidentColumns())
        if (onForm(c))
            m_strFields[c.name] = controlText(c.controlId);
    m_strYear = controlText(1018);
    m_strMonth = controlText(1037);
    m_strDay = controlText(1039);
    m_strBirthDate = controlText(1004);
    m_bContinuousAdd = m_ui->continuous->isChecked() ? 1 : 0;
    return true;
}

void CDlgRYXXQK::refuse(const QString& message, int focusId) {
    MessageBox(this, message, QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
    if (focusId)
        GotoDlgCtrl(control(focusId));
}

bool CDlgRYXXQK::OnInitDialog() {
    m_form->FitScreen();
    m_ui->c1070->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("和户主关系"),
                                  QStringLiteral("姓名"), QStringLiteral("身份证号"),
                                  QStringLiteral("文化程度"), QStringLiteral("婚姻状况")});
    const int widths[] = {40, 110, 80, 160, 80, 80};
    for (int k = 0; k < 6; ++k)
        m_ui->c1070->setColumnWidth(k, widths[k]);
    m_ui->c1018->clear();
    m_ui->c1018->addItems(BirthYearChoices(CurrentYear()));
    m_ui->c1018->setCurrentIndex(-1);
    if (m_nMode == Query) {
        for (QWidget* w : {static_cast<QWidget*>(m_ui->previous), static_cast<QWidget*>(m_ui->next),
                           static_cast<QWidget*>(m_ui->photo), static_cast<QWidget*>(m_ui->continuous)})
            w->hide();
        for (int id : kQueryDisabled)
            if (QWidget* w = control(id))
                w->setEnabled(false);
        UpdateData(false);
        return true;
    }
    if (m_nMode == Add) {
        m_ui->previous->hide();
        m_ui->next->hide();
    }
    LoadRecord();
    m_strAddUnit = m_strFields.value(QStringLiteral("工作单位"));
    if (!MayModify()) {
        m_ui->save->hide();
        m_ui->photo->hide();
    }
    enableSteps();
    return true;
}

void CDlgRYXXQK::enableSteps() {
    if (!m_pRecordSet || m_nMode != View)
        return;
    const long position = m_pRecordSet->GetAbsolutePosition();
    const long count = m_pRecordSet->GetRecordCount();
    m_ui->previous->setEnabled(position > 1);
    m_ui->next->setEnabled(position >= 1 && position < count);
}

void CDlgRYXXQK::LoadRecord() {
    CAdoRecordSet* rs = m_pRecordSet;
    if (!rs || rs->IsBOF() || rs->IsEOF())
        return;
    for (const ResidentColumn& c : ResidentColumns()) {
        if (c.kind != ColumnKind::Text && c.kind != ColumnKind::Date)
            continue;
        QString text;
        rs->GetValueString(c.name, text);
        if (rs->GetFieldType(c.name) == adWChar)
            text = TrimTrailingBlanks(text); // fixed-width columns read back padded
        m_strFields[c.name] = text;
    }
    long familySize = 0;
    rs->GetValue(kFamilySizeColumn, familySize);
    m_nFamilySize = static_cast<int>(familySize);

    const QString birth = m_strFields.value(kBirthDateColumn);
    if (birth.size() > 8 && birth != kEmptyDateText) {
        m_strYear = birth.mid(0, 4);
        m_strMonth = birth.mid(5, 2);
        m_strDay = birth.mid(8, 2);
    } else {
        m_strYear.clear();
        m_strMonth.clear();
        m_strDay.clear();
    }
    m_strBirthDate = birth == kEmptyDateText ? QString() : birth;
    for (const char* name : {"何时迁来本县", "何时迁来本址", "死亡日期", "登记日期"}) {
        QString& value = m_strFields[QString::fromUtf8(name)];
        if (value == kEmptyDateText)
            value.clear();
        else if (std::strncmp(name, "何时", 6) == 0)
            value = value.left(10);
    }
    UpdateData(false);
    m_photoBytes.clear();
    loadPhoto();
    fillFamily();
}

QString CDlgRYXXQK::TemporaryPhotoPath() const {
    return GetApp().m_strAppDir + kTemporaryPhoto;
}

void CDlgRYXXQK::loadPhoto() {
    m_picture.FreePicture();
    try {
        RecordsetPtr raw = m_pRecordSet->GetRecordset();
        FieldPtr field = raw->GetFields()->GetItem(Variant(kPhotoColumn));
        const long size = field->GetActualSize();
        if (size > 0) {
            Variant bytes = field->GetChunk(size);
            if (bytes.IsByteArray())
                m_picture.LoadFromBuffer(bytes.Bytes().constData(), bytes.Bytes().size());
        }
    } catch (const ComError&) {
        // an unreadable photo shows as none
    }
    // The person sheet prints this file: it holds the photo shown, or is gone.
    if (m_picture.m_pPicture)
        m_picture.SaveToFile(TemporaryPhotoPath());
    else
        QFile::remove(LocalPath(TemporaryPhotoPath()));
    m_ui->photoFrame->update();
}

void CDlgRYXXQK::fillFamily() {
    m_ui->c1070->clear();
    const QString household = m_strFields.value(QStringLiteral("户口簿编号"));
    if (household.isEmpty())
        return;
    const std::int32_t self = LowFourBytes(m_pRecordSet->GetCollectValue(0));
    try {
        RecordsetPtr family = Recordset::Create();
        family->Open(QStringLiteral("SELECT * FROM 基本情况表 where 户口簿编号='") +
                         SqlEscape(household) + QLatin1Char('\''),
                     GetApp().m_pConnection, adOpenStatic, adLockOptimistic, adCmdText);
        int n = 0;
        for (; !family->GetEOF(); family->MoveNext()) {
            // The resident shown is left out by key, so that a namesake is listed.
            if (LowFourBytes(family->GetCollect(Variant(0))) == self)
                continue;
            QStringList row{QString::number(++n)};
            for (const char* f : {"户主", "姓名", "身份证号", "文化程度", "婚姻状况"})
                row << GetApp().GetFieldText(family, QString::fromUtf8(f));
            new QTreeWidgetItem(m_ui->c1070, row);
        }
    } catch (const ComError& e) {
        MessageBox(this, QStringLiteral("读取家庭成员失败：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
    }
}

CDlgRYXXQK::Saved CDlgRYXXQK::save() {
    if (m_nMode != Query && !MayModify()) {
        refuse(QStringLiteral("无此操作权限!"));
        return Saved::NoRight;
    }
    if (!UpdateData(true))
        return Saved::Refused;
    if (m_nMode == Query) {
        EndDialog(IDOK);
        return Saved::Yes;
    }
    const bool noDate = m_strYear.isEmpty() && m_strMonth.isEmpty() && m_strDay.isEmpty();
    if (!noDate && (m_strYear.isEmpty() || m_strMonth.isEmpty() || m_strDay.isEmpty())) {
        refuse(QStringLiteral("出生年月不完整：请选择年、月、日，或者都不填。"), 1018);
        return Saved::Refused;
    }
    m_strBirthDate = noDate ? QString() : m_strYear + QLatin1Char('-') + m_strMonth + QLatin1Char('-') + m_strDay;
    if (GbkLength(m_strFields.value(QStringLiteral("备注2"))) > kResumeByteLimit) {
        refuse(QStringLiteral("备注2长度不能大于255"), 1000);
        return Saved::Refused;
    }
    if (GbkLength(m_strFields.value(QStringLiteral("备注"))) > kRemarkByteLimit) {
        refuse(QStringLiteral("备注长度不能大于50"), 1013);
        return Saved::Refused;
    }
    return writeRow() ? Saved::Yes : Saved::Refused;
}

bool CDlgRYXXQK::writeRow() {
    if (!m_pRecordSet || m_pRecordSet->IsBOF() || m_pRecordSet->IsEOF())
        return false;
    RecordsetPtr raw = m_pRecordSet->GetRecordset();
    const bool adding = m_pRecordSet->GetEditMode() == adEditAdd;
    QString failed;
    try {
        for (const QString& column : WrittenColumns()) {
            failed = column;
            const QString value = column == kBirthDateColumn    ? m_strBirthDate
                                  : column == kFamilySizeColumn ? QString::number(m_nFamilySize)
                                                                : m_strFields.value(column);
            raw->PutCollect(Variant(column), Variant(value));
        }
        failed = kPhotoColumn;
        if (!m_photoBytes.isEmpty()) // again, after a refused save cancelled the pending change
            raw->PutCollect(Variant(kPhotoColumn), Variant(m_photoBytes));
        failed.clear();
        raw->Update();
    } catch (const ComError& e) {
        // Nothing is stored; the form keeps what the operator typed, and a chosen photo.
        try {
            raw->CancelUpdate();
            if (adding) {
                raw->AddNew();
                raw->PutCollect(Variant(QStringLiteral("工作单位")), Variant(m_strAddUnit));
            }
        } catch (const ComError&) {
        }
        const ResidentColumn* column = FindResidentColumn(failed);
        const QString label = column && !column->label.isEmpty() ? column->label.simplified().remove(QLatin1Char(' '))
                                                                 : failed;
        MessageBox(this,
                   failed.isEmpty()
                       ? QStringLiteral("保存失败：\r\n") + e.Description()
                       : FormatText(QStringLiteral("“%s”的值无法保存：\r\n%s"), label, e.Description()),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_photoBytes.clear();
    return true;
}

void CDlgRYXXQK::startNextResident() {
    m_pRecordSet->AddNew();
    m_pRecordSet->PutCollect(QStringLiteral("工作单位"), Variant(m_strAddUnit));
    LoadRecord();
    m_ui->c1070->clear();
    GotoDlgCtrl(m_ui->c1002);
}

void CDlgRYXXQK::OnOK() {
    if (save() == Saved::Yes && m_nMode != Query && m_bContinuousAdd)
        startNextResident();
}

void CDlgRYXXQK::OnPrevious() {
    CAdoRecordSet* rs = m_pRecordSet;
    if (!rs || rs->IsBOF())
        return;
    if (save() == Saved::Refused)
        return; // nothing stored: the operator corrects and tries again
    if (rs->GetAbsolutePosition() > 1) {
        rs->MovePrevious();
        LoadRecord();
    }
    enableSteps();
}

void CDlgRYXXQK::OnNext() {
    CAdoRecordSet* rs = m_pRecordSet;
    if (!rs || rs->IsEOF())
        return;
    if (save() == Saved::Refused)
        return;
    if (rs->GetAbsolutePosition() < rs->GetRecordCount()) {
        rs->MoveNext();
        LoadRecord();
    }
    enableSteps();
}

void CDlgRYXXQK::OnChangePhoto() {
    FileDialogRequest request;
    request.filter = QStringLiteral("照片 (*.jpg *.jpeg *.JPG *.JPEG *.Jpg)");
    const QString chosen = AskFile(this, request);
    if (chosen.isEmpty())
        return;
    m_strPhotoPath = chosen;
    QByteArray bytes;
    RgbImage image;
    if (!ReadFileBytes(chosen, bytes) || !DecodeJpeg(bytes, image)) {
        MessageBox(nullptr, QStringLiteral("读取文件失败，此格式无效或不支持"), QStringLiteral("错误"),
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (image.width > kPhotoWidth &&
        MessageBox(this, QStringLiteral("图像宽超过300,是否自动调成300后入库？"), QStringLiteral("提示"),
                   MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        bytes = EncodeJpeg(ScaleByDropping(image, kPhotoWidth), kPhotoQuality);
        m_strPhotoPath = kScaledPhoto;
        WriteFileAtomic(LocalPath(kScaledPhoto), bytes); // a copy; the bytes stored are these
    }
    // Into the row's pending change now; kept, so that a refused save can try again.
    try {
        m_pRecordSet->GetRecordset()->GetFields()->GetItem(Variant(kPhotoColumn))->AppendChunk(Variant(bytes));
    } catch (const ComError& e) {
        MessageBox(this, QStringLiteral("照片无法写入：\r\n") + e.Description(), QStringLiteral("提示"),
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_photoBytes = bytes;
    m_picture.FreePicture();
    m_picture.LoadFromBuffer(bytes.constData(), bytes.size());
    if (m_picture.m_pPicture)
        m_picture.SaveToFile(TemporaryPhotoPath());
    m_ui->photoFrame->update();
}

void CDlgRYXXQK::paintPhoto() {
    if (!m_picture.m_pPicture)
        return;
    QWidget* frame = m_ui->photoFrame;
    QPainter painter(frame);
    CPainterDC dc(painter, false, frame->logicalDpiX(), frame->logicalDpiY());
    m_picture.Draw(&dc, frame->rect());
}

bool CDlgRYXXQK::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->photoFrame && event->type() == QEvent::Paint) {
        paintPhoto();
        return true;
    }
    if (watched == m_ui->c1013 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OnOK();
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
}

QString CDlgRYXXQK::SheetFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void CDlgRYXXQK::OnPrint() {
    const BusyCursor busy;
    QByteArray templateBytes;
    const QString templatePath = QDir::current().filePath(QStringLiteral("人员情况表.dot"));
    QString why;
    std::unique_ptr<WordDocument> sheet;
    if (!ReadFileBytes(templatePath, templateBytes))
        why = FormatText(QStringLiteral("找不到模板文件“%s”。"), templatePath);
    else if (!(sheet = WordDocument::FromTemplate(templateBytes, &why)))
        why = FormatText(QStringLiteral("模板文件“%s”%s。"), templatePath, why);
    else if (!sheet->HasTable())
        why = FormatText(QStringLiteral("模板文件“%s”中没有表格。"), templatePath);
    if (!sheet || !sheet->HasTable()) {
        AfxMessageBox(why.isEmpty() ? QStringLiteral("命令失败。") : why);
        return;
    }
    // The values as last transferred: after a load, a save or a move.
    const QString birth = m_strYear + QLatin1Char('.') + m_strMonth + QLatin1Char('.') + m_strDay;
    struct Cell {
        int row, column;
        QString value;
    };
    const Cell cells[] = {
        {1, 2, Value(QStringLiteral("姓名"))},        {1, 4, Value(QStringLiteral("性别"))},
        {1, 6, birth},                                {2, 2, Value(QStringLiteral("籍贯"))},
        {2, 4, Value(QStringLiteral("民族"))},        {2, 6, Value(QStringLiteral("文化程度"))},
        {3, 2, Value(QStringLiteral("出生地"))},      {3, 4, Value(QStringLiteral("政治面貌"))},
        {4, 2, Value(QStringLiteral("其它住址"))},    {5, 2, Value(QStringLiteral("服务处所"))},
        {7, 2, Value(QStringLiteral("身份证号"))},    {7, 4, Value(QStringLiteral("婚姻状况"))},
        {8, 2, Value(QStringLiteral("户口簿编号"))},  {9, 2, Value(QStringLiteral("户口性质"))},
        {10, 2, Value(QStringLiteral("何时迁来本县")).left(10)},
        {11, 2, Value(QStringLiteral("何地迁来本县"))},
        {12, 2, Value(QStringLiteral("何时迁来本址")).left(10)},
        {13, 2, Value(QStringLiteral("何地迁来本址"))}, {14, 2, Value(QStringLiteral("备注2"))},
    };
    QString failed;
    for (const Cell& c : cells)
        if (failed.isEmpty() && !sheet->SetCellText(c.row, c.column, c.value, &failed))
            break;
    if (failed.isEmpty() && m_picture.m_pPicture) {
        QByteArray photo;
        if (!ReadFileBytes(TemporaryPhotoPath(), photo) || !sheet->AddPicture(1, 7, photo, &failed))
            if (failed.isEmpty())
                failed = QStringLiteral("照片文件无法读出");
    }
    // As far as it got, the sheet is written and opened, under a name of its own.
    QString name = Value(QStringLiteral("姓名")).trimmed();
    for (QChar& ch : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(ch) || ch.unicode() < 0x20)
            ch = QLatin1Char('_');
    const QString path = SheetFolder() + QStringLiteral("/人员情况表_") + (name.isEmpty() ? QStringLiteral("无名") : name) +
                         QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")) +
                         QStringLiteral(".docx");
    QString saveError;
    const QByteArray bytes = sheet->Save(&saveError);
    QDir().mkpath(SheetFolder());
    if (bytes.isEmpty() || !WriteFileAtomic(path, bytes, &saveError)) {
        AfxMessageBox(FormatText(QStringLiteral("人员情况表无法保存：%s"), saveError));
        return;
    }
    if (!failed.isEmpty())
        AfxMessageBox(failed);
    if (!ShellOpen(path))
        AfxMessageBox(QStringLiteral("创建Word服务失败！"));
}
