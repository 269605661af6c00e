#include "records/ResidentCatalogue.h"

namespace {

ResidentColumn text(const char* name, int size, const char* label, int id,
                    FormControl control = FormControl::Edit, int byteLimit = 0,
                    bool appended = false) {
    return {QString::fromUtf8(name),
            ColumnKind::Text,
            size,
            QString::fromUtf8(label),
            id,
            control,
            byteLimit,
            appended};
}

ResidentColumn date(const char* name, const char* label, int id,
                    FormControl control = FormControl::Edit) {
    return {QString::fromUtf8(name),
            ColumnKind::Date,
            0,
            QString::fromUtf8(label),
            id,
            control,
            0,
            false};
}

} // namespace

const std::vector<ResidentColumn>& ResidentColumns() {
    static const std::vector<ResidentColumn> columns = {
        {QStringLiteral("编号"), ColumnKind::Key, 0, QString(), 0, FormControl::None, 0, false},
        text("姓名", 50, "姓    名", 1002),
        text("曾用名", 50, "曾 用 名", 1015),
        text("工作单位", 255, "工 作 单 位", 1001),
        text("性别", 10, "性    别", 1003, FormControl::Combo),
        text("注销", 20, "注销", 1031, FormControl::Combo),
        text("户主", 20, "户主或与户主关系", 1036, FormControl::Combo),
        date("出生日期", "出生年月", 1018, FormControl::DateCombos),
        text("出生地", 100, "出 生 地", 1019),
        text("民族", 20, "民    族", 1008, FormControl::Combo),
        text("籍贯", 100, "籍    贯", 1009),
        text("其它住址", 255, "家庭住址", 1010),
        text("身份证号", 30, "身份证号", 1005),
        text("政治面貌", 20, "政治面貌", 1020, FormControl::Combo),
        text("文化程度", 20, "文化程度", 1034, FormControl::Combo),
        text("婚姻状况", 20, "婚姻状况", 1023, FormControl::Combo),
        text("职业", 100, "职    业", 1007),
        {QStringLiteral("家庭人口"), ColumnKind::Integer, 0, QStringLiteral("家庭人口"), 1060,
         FormControl::Edit, 0, false},
        date("何时迁来本县", "何时迁来本市", 1025),
        text("何地迁来本县", 255, "何地迁来本市", 1027),
        date("何时迁来本址", "何时迁来本址", 1026),
        text("何地迁来本址", 255, "何地迁来本址", 1028),
        text("服务处所", 255, "服务处所", 1011),
        date("死亡日期", "死亡日期", 1030),
        date("登记日期", "登记日期", 1029),
        text("户口簿编号", 50, "户口簿 编号", 1033),
        text("户口性质", 20, "户口性质", 1035, FormControl::Combo),
        text("手机", 50, "手 机 号", 1065),
        text("股民", 10, "是否股民", 1006, FormControl::Combo),
        text("配偶姓名", 50, "配 偶 姓 名", 1040),
        text("配偶电话", 50, "配偶电话", 1041),
        text("备注", 50, "备    注", 1013, FormControl::MultiLineEdit, kRemarkByteLimit),
        text("备注2", 255, "简历", 1000, FormControl::MultiLineEdit, kResumeByteLimit),
        {QStringLiteral("照片"), ColumnKind::Binary, 0, QString(), 1012, FormControl::Frame, 0,
         false},
        {QStringLiteral("年龄"), ColumnKind::Integer, 0, QString(), 0, FormControl::None, 0, false},
        text("显示", 10, "", 0, FormControl::None),
        text("拥有土地", 20, "拥有土地", 1066, FormControl::Edit, 0, true),
        text("楼房住户", 20, "楼房住户", 1067, FormControl::Edit, 0, true),
        text("节育措施", 20, "节育措施", 1042, FormControl::Edit, 0, true),
        text("血型", 20, "血型", 1043, FormControl::Edit, 0, true),
        text("低保", 20, "是否低保", 1021, FormControl::Combo, 0, true),
        text("医保", 20, "是否医保", 1022, FormControl::Combo, 0, true),
        text("廉租房", 20, "是否廉租房", 1024, FormControl::Combo, 0, true),
    };
    return columns;
}

const ResidentColumn* FindResidentColumn(const QString& name) {
    for (const ResidentColumn& c : ResidentColumns())
        if (c.name == name)
            return &c;
    return nullptr;
}

QString ColumnSqlType(const ResidentColumn& column) {
    switch (column.kind) {
    case ColumnKind::Key:
        return QStringLiteral("COUNTER");
    case ColumnKind::Date:
        return QStringLiteral("DATETIME");
    case ColumnKind::Integer:
        return QStringLiteral("INT");
    case ColumnKind::Binary:
        return QStringLiteral("LONGBINARY");
    case ColumnKind::Text:
        return QStringLiteral("TEXT(%1)").arg(column.size);
    }
    return QString();
}

const std::vector<AppendedColumn>& AppendedColumns() {
    static const std::vector<AppendedColumn> columns = [] {
        std::vector<AppendedColumn> list;
        for (const char* name :
             {"拥有土地", "楼房住户", "节育措施", "血型", "低保", "医保", "廉租房"})
            list.push_back(
                {QString::fromUtf8(name),
                 QStringLiteral("ALTER   TABLE   基本情况表   ADD   COLUMN   %1 char(20)")
                     .arg(QString::fromUtf8(name))});
        return list;
    }();
    return columns;
}

const QStringList& UserTableStatements() {
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE 用户密码"),
        QStringLiteral("alter table 用户密码 add COLUMN 用户名 char(10)"),
        QStringLiteral("alter table 用户密码 add COLUMN 密码 char(10)"),
        QStringLiteral("alter table 用户密码 add COLUMN 权限 int"),
        QStringLiteral("alter table 用户密码 add COLUMN 备注 char(20)"),
        QStringLiteral("ALTER   TABLE   用户密码   ADD   COLUMN   登录日期 datetime"),
        QStringLiteral("insert into  用户密码(用户名,密码,权限) values('管理员','580347',99)"),
    };
    return statements;
}

const QStringList& Nationalities() {
    static const QStringList list =
        QStringLiteral("汉族,蒙古族,回族,藏族,维吾尔族,苗族,彝族,壮族,布依族,朝鲜族,满族,侗族,瑶族,"
                       "白族,土家族,哈尼族,"
                       "哈萨克族,傣族,黎族,僳僳族,佤族,畲族,高山族,拉祜族,水族,东乡族,纳西族,"
                       "景颇族,柯尔克孜族,土族,"
                       "达斡尔族,仫佬族,羌族,布朗族,撒拉族,毛南族,仡佬族,锡伯族,阿昌族,普米族,"
                       "塔吉克族,怒族,乌孜别克族,"
                       "俄罗斯族,鄂温克族,德昂族,保安族,裕固族,京族,塔塔尔族,独龙族,鄂伦春族,"
                       "赫哲族,门巴族,珞巴族,基诺族")
            .split(QLatin1Char(','));
    return list;
}

QStringList ChoiceList(int controlId) {
    auto list = [](const char* csv) { return QString::fromUtf8(csv).split(QLatin1Char(',')); };
    switch (controlId) {
    case 1036:
        return list("户主,户主妻,户主夫,长子,次子,幼子,儿媳,孙子,孙女,长女,次女,幼女,外甥,外甥女");
    case 1031:
        return list("未注销,迁出,注销,死亡,其它");
    case 1003:
        return list("男,女");
    case 1037: {
        QStringList months;
        for (int m = 1; m <= 12; ++m)
            months << QString::number(m);
        return months;
    }
    case 1039: {
        QStringList days;
        for (int d = 1; d <= 31; ++d)
            days << QString::number(d);
        return days;
    }
    case 1020:
        return list("党员,团员,青年,群众");
    case 1034:
        return list("文盲,小学,初中,高中,中专,大专,本科,硕士,博士");
    case 1023:
        return list("未婚,已婚,离婚,丧偶");
    case 1035:
        return {QStringLiteral("农业家庭户口"), QStringLiteral("非农业户口"), QString()};
    case 1006:
    case 1021:
    case 1022:
    case 1024:
        return list("是,否");
    case 1008:
        return Nationalities();
    default:
        return {};
    }
}

QStringList BirthYearChoices(int currentYear) {
    QStringList years;
    for (int y = currentYear - 100; y <= currentYear; ++y)
        years << QString::number(y);
    return years;
}

bool IsRegistered(const QString& cancellation) {
    return cancellation.isEmpty() || cancellation == QStringLiteral("未注销");
}
