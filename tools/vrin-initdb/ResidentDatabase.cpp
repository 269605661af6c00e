#include "ResidentDatabase.h"

#include "adodb/ConnectionString.h"
#include "adodb/Connection.h"
#include "adodb/Recordset.h"
#include "adodb/SqliteProvider.h"
#include "platform/Jpeg.h"
#include "platform/OleDateTime.h"
#include "platform/TextFile.h"
#include "records/ResidentCatalogue.h"

#include <QDate>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <cmath>
#include <random>

using namespace adodb;

namespace {

class Dice {
public:
    explicit Dice(unsigned seed) : m_engine(seed) {}
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_engine) < p; }
    template <class T> const T& Pick(const QList<T>& list) {
        return list.at(Between(0, static_cast<int>(list.size()) - 1));
    }
    QChar PickChar(const QString& pool) {
        return pool.at(Between(0, static_cast<int>(pool.size()) - 1));
    }

private:
    std::mt19937 m_engine;
};

const QString kSurnames =
    QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋"
                   "蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛");
const QString kMaleGiven =
    QStringLiteral("伟强磊军勇杰涛明超刚平辉鹏华飞鑫波斌宇浩凯健俊帆帅旭宁龙林欢阳建国志成文海");
const QString kFemaleGiven =
    QStringLiteral("芳娜敏静丽艳娟霞秀玲桂英梅琳燕红萍雪琴兰凤洁云莉倩婷颖慧佳欣悦");

struct Unit {
    QString path;
    QString street;
};

const QList<Unit>& demoUnits() {
    static const QList<Unit> units = {
        {QStringLiteral("第一村民组东院"), QStringLiteral("东院巷")},
        {QStringLiteral("第一村民组西院"), QStringLiteral("西院巷")},
        {QStringLiteral("第二村民组前街"), QStringLiteral("前街")},
        {QStringLiteral("第二村民组后街"), QStringLiteral("后街")},
        {QStringLiteral("第三村民组"), QStringLiteral("三组路")},
        {QStringLiteral("村委会"), QStringLiteral("村委大院")},
    };
    return units;
}

struct Person {
    QString name, relation, sex;
    int age = 0;
    bool married = false;
    QString spouseName;
};

QString personName(Dice& dice, const QString& surname, bool male) {
    const QString& pool = male ? kMaleGiven : kFemaleGiven;
    QString name = surname + dice.PickChar(pool);
    if (dice.Chance(0.6))
        name += dice.PickChar(pool);
    return name;
}

// The members of one household, head first, ages and relations that fit together.
QList<Person> household(Dice& dice, int size) {
    QList<Person> members;
    QString surname = dice.PickChar(kSurnames);
    Person head;
    bool headMale = dice.Chance(0.82);
    head.sex = headMale ? QStringLiteral("男") : QStringLiteral("女");
    head.relation = QStringLiteral("户主");
    head.age = dice.Between(26, 78);
    head.name = personName(dice, surname, headMale);
    members << head;
    if (size >= 2 && dice.Chance(0.85)) {
        Person spouse;
        spouse.sex = headMale ? QStringLiteral("女") : QStringLiteral("男");
        spouse.relation = headMale ? QStringLiteral("户主妻") : QStringLiteral("户主夫");
        spouse.age = std::max(20, head.age + dice.Between(-6, 4));
        spouse.name = personName(dice, dice.PickChar(kSurnames), !headMale);
        spouse.married = true;
        spouse.spouseName = head.name;
        members[0].married = true;
        members[0].spouseName = spouse.name;
        members << spouse;
    }
    static const QStringList sons = {QStringLiteral("长子"), QStringLiteral("次子"),
                                     QStringLiteral("幼子")};
    static const QStringList daughters = {QStringLiteral("长女"), QStringLiteral("次女"),
                                          QStringLiteral("幼女")};
    int sonCount = 0, daughterCount = 0;
    int childAge = head.age - dice.Between(22, 32);
    while (members.size() < size && childAge >= 0) {
        bool male = dice.Chance(0.5);
        if ((male && sonCount == 3) || (!male && daughterCount == 3))
            male = !male;
        if (sonCount == 3 && daughterCount == 3)
            break;
        Person child;
        child.sex = male ? QStringLiteral("男") : QStringLiteral("女");
        child.relation = male ? sons[sonCount++] : daughters[daughterCount++];
        child.age = childAge;
        child.name = personName(dice, surname, male);
        members << child;
        // A grown son may bring his wife and children into the household.
        if (male && child.age >= 24 && members.size() < size && dice.Chance(0.6)) {
            Person wife;
            wife.sex = QStringLiteral("女");
            wife.relation = QStringLiteral("儿媳");
            wife.age = std::max(20, child.age + dice.Between(-4, 2));
            wife.name = personName(dice, dice.PickChar(kSurnames), false);
            wife.married = true;
            wife.spouseName = child.name;
            members.last().married = true;
            members.last().spouseName = wife.name;
            members << wife;
            if (members.size() < size && child.age >= 26) {
                bool grandson = dice.Chance(0.5);
                Person grandchild;
                grandchild.sex = grandson ? QStringLiteral("男") : QStringLiteral("女");
                grandchild.relation = grandson ? QStringLiteral("孙子") : QStringLiteral("孙女");
                grandchild.age = dice.Between(0, std::max(0, child.age - 22));
                grandchild.name = personName(dice, surname, grandson);
                members << grandchild;
            }
        }
        childAge -= dice.Between(1, 5);
    }
    if (members.size() < size && dice.Chance(0.3)) {
        bool male = dice.Chance(0.5);
        Person nephew;
        nephew.sex = male ? QStringLiteral("男") : QStringLiteral("女");
        nephew.relation = male ? QStringLiteral("外甥") : QStringLiteral("外甥女");
        nephew.age = dice.Between(3, 30);
        nephew.name = personName(dice, dice.PickChar(kSurnames), male);
        members << nephew;
    }
    return members;
}

RgbImage portrait(Dice& dice) {
    RgbImage image;
    image.width = 90;
    image.height = 120;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
    const int shirt[3] = {dice.Between(20, 200), dice.Between(20, 200), dice.Between(20, 200)};
    const int hair = dice.Between(10, 60);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            int r = 150 + y / 3, g = 190 + y / 4, b = 235; // light blue backdrop
            double dx = (x - 45) / 20.0, dy = (y - 48) / 26.0;
            if (dx * dx + dy * dy <= 1.0) { // face
                r = 236, g = 200, b = 170;
                if (y < 34)
                    r = g = b = hair;
            }
            double sx = (x - 45) / 42.0, sy = (y - 125) / 38.0;
            if (sx * sx + sy * sy <= 1.0 && y > 82) { // shoulders
                r = shirt[0], g = shirt[1], b = shirt[2];
            }
            unsigned char* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 3];
            p[0] = static_cast<unsigned char>(std::min(r, 255));
            p[1] = static_cast<unsigned char>(std::min(g, 255));
            p[2] = static_cast<unsigned char>(std::min(b, 255));
        }
    return image;
}

QString dateText(int year, int month, int day) {
    return QStringLiteral("%1-%2-%3")
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

QString randomDate(Dice& dice, int fromYear, int toYear) {
    int year = dice.Between(fromYear, std::max(fromYear, toYear));
    int month = dice.Between(1, 12);
    return dateText(year, month, dice.Between(1, DaysInMonth(year, month)));
}

QString education(Dice& dice, int age) {
    if (age < 6)
        return QString();
    if (age < 12)
        return QStringLiteral("小学");
    if (age < 15)
        return QStringLiteral("初中");
    if (age < 18)
        return QStringLiteral("高中");
    static const QStringList adults =
        QStringLiteral("文盲,小学,初中,初中,初中,高中,高中,中专,大专,本科,本科,硕士")
            .split(QLatin1Char(','));
    QString e = dice.Pick(adults);
    return age > 65 && dice.Chance(0.5) ? QStringLiteral("小学") : e;
}

QString occupation(Dice& dice, int age) {
    if (age < 6)
        return QString();
    if (age < 19)
        return QStringLiteral("学生");
    if (age >= 62)
        return dice.Chance(0.6) ? QStringLiteral("退休") : QStringLiteral("务农");
    static const QStringList jobs =
        QStringLiteral(
            "务农,务农,务农,个体经营,工人,教师,司机,厨师,电工,村干部,医生,会计,个体经营,外出务工")
            .split(QLatin1Char(','));
    return dice.Pick(jobs);
}

QString politics(Dice& dice, int age) {
    if (age < 14)
        return QString();
    if (age <= 28)
        return dice.Chance(0.45) ? QStringLiteral("团员") : QStringLiteral("青年");
    return dice.Chance(0.12) ? QStringLiteral("党员") : QStringLiteral("群众");
}

QString cancellation(Dice& dice) {
    int roll = dice.Between(1, 100);
    if (roll <= 84)
        return QStringLiteral("未注销");
    if (roll <= 88)
        return QString();
    if (roll <= 92)
        return QStringLiteral("迁出");
    if (roll <= 96)
        return QStringLiteral("死亡");
    if (roll <= 98)
        return QStringLiteral("注销");
    return QStringLiteral("其它");
}

QString mobile(Dice& dice) {
    static const QStringList prefixes =
        QStringLiteral("133,135,137,139,150,152,158,186,189").split(QLatin1Char(','));
    QString number = dice.Pick(prefixes);
    for (int k = 0; k < 8; ++k)
        number += QChar('0' + dice.Between(0, 9));
    return number;
}

void fail(QString* error, const QString& text) {
    if (error)
        *error = text;
}

bool writeDemoFiles(const QString& folder, QString* error) {
    QString why;
    if (!WriteTextFileAtomic(folder + QStringLiteral("单位划分.txt"), DemoUnitHierarchy(), &why) ||
        !WriteTextFileAtomic(folder + QStringLiteral("Info.txt"), DemoCommunityName(), &why)) {
        fail(error, QStringLiteral("无法写入演示用的单位划分或单位名称文件：%1").arg(why));
        return false;
    }
    return true;
}

void addResidents(const ConnectionPtr& conn, const ResidentDatabaseOptions& options, int columns) {
    Dice dice(options.seed);
    const QDate today =
        options.referenceYear > 0 ? QDate(options.referenceYear, 12, 31) : QDate::currentDate();
    const int year = today.year();
    RecordsetPtr rs = Recordset::Create();
    rs->Open(kResidentTable, conn, adOpenStatic, adLockOptimistic, adCmdTable);
    auto put = [&](const char* field, const Variant& value) {
        if (rs->FindField(QString::fromUtf8(field)) >= 0)
            rs->PutCollect(Variant(QString::fromUtf8(field)), value);
    };
    conn->BeginTrans();
    int made = 0, householdNumber = 0;
    while (made < options.demoResidents) {
        static const QList<int> sizes = {1, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 6};
        int size = std::min(dice.Pick(sizes), options.demoResidents - made);
        QList<Person> members = household(dice, size);
        const Unit& unit = dice.Pick(demoUnits());
        const QString book =
            QStringLiteral("%1").arg(10001 + householdNumber++, 8, 10, QLatin1Char('0'));
        const QString address =
            DemoCommunityName() + unit.street + QStringLiteral("%1号").arg(dice.Between(1, 120));
        const bool farming = dice.Chance(0.7);
        for (const Person& p : members) {
            const int birthYear = year - p.age;
            // Nobody is born after today.
            const int month = dice.Between(1, birthYear == year ? today.month() : 12);
            const int day = dice.Between(1, birthYear == year && month == today.month()
                                                ? today.day()
                                                : DaysInMonth(birthYear, month));
            const bool male = p.sex == QStringLiteral("男");
            QString id = QStringLiteral("330782") + QStringLiteral("%1%2%3")
                                                        .arg(birthYear)
                                                        .arg(month, 2, 10, QLatin1Char('0'))
                                                        .arg(day, 2, 10, QLatin1Char('0'));
            id += QStringLiteral("%1").arg(dice.Between(0, 99), 2, 10, QLatin1Char('0'));
            int sexDigit = dice.Between(0, 4) * 2 + (male ? 1 : 0);
            id += QChar('0' + sexDigit);
            id += IdentityCheckCharacter(id);

            rs->AddNew();
            put("姓名", Variant(p.name));
            put("曾用名",
                Variant(dice.Chance(0.05) ? personName(dice, p.name.left(1), male) : QString()));
            put("工作单位", Variant(unit.path));
            put("性别", Variant(p.sex));
            QString state = cancellation(dice);
            put("注销", Variant(state));
            put("户主", Variant(p.relation));
            put("出生日期", Variant(dateText(birthYear, month, day)));
            put("出生地", Variant(dice.Chance(0.85) ? QStringLiteral("浙江省义乌市")
                                                    : QStringLiteral("浙江省金华市")));
            static const QStringList minorities =
                QStringLiteral("回族,满族,壮族,苗族,土家族,畲族").split(QLatin1Char(','));
            put("民族",
                Variant(dice.Chance(0.93) ? QStringLiteral("汉族") : dice.Pick(minorities)));
            put("籍贯", Variant(QStringLiteral("浙江义乌")));
            put("其它住址", Variant(address));
            put("身份证号", Variant(id));
            put("政治面貌", Variant(politics(dice, p.age)));
            put("文化程度", Variant(education(dice, p.age)));
            QString marital = p.married    ? QStringLiteral("已婚")
                              : p.age < 22 ? QStringLiteral("未婚")
                              : p.relation == QStringLiteral("户主") && p.age > 55
                                  ? QStringLiteral("丧偶")
                                  : QStringLiteral("未婚");
            put("婚姻状况", Variant(marital));
            put("职业", Variant(occupation(dice, p.age)));
            put("家庭人口", Variant(static_cast<int>(members.size())));
            if (dice.Chance(0.2)) {
                put("何时迁来本县", Variant(randomDate(dice, birthYear + 1, year - 1)));
                put("何地迁来本县", Variant(QStringLiteral("浙江省东阳市")));
            }
            if (dice.Chance(0.25)) {
                put("何时迁来本址", Variant(randomDate(dice, birthYear + 1, year - 1)));
                put("何地迁来本址", Variant(DemoCommunityName() + dice.Pick(demoUnits()).street));
            }
            if (p.age >= 19 && p.age < 62 && dice.Chance(0.3))
                put("服务处所", Variant(dice.Chance(0.5) ? QStringLiteral("义乌小商品市场")
                                                         : QStringLiteral("本村")));
            if (state == QStringLiteral("死亡"))
                put("死亡日期", Variant(randomDate(dice, year - 5, year - 1)));
            put("登记日期", Variant(randomDate(dice, std::max(1990, birthYear), year - 1) +
                                    QStringLiteral(" 09:30:00")));
            put("户口簿编号", Variant(book));
            put("户口性质",
                Variant(farming ? QStringLiteral("农业家庭户口") : QStringLiteral("非农业户口")));
            if (p.age >= 18 && dice.Chance(0.75))
                put("手机", Variant(mobile(dice)));
            put("股民", Variant(p.age >= 18 && dice.Chance(0.15) ? QStringLiteral("是")
                                                                 : QStringLiteral("否")));
            if (p.married) {
                put("配偶姓名", Variant(p.spouseName));
                if (dice.Chance(0.6))
                    put("配偶电话", Variant(mobile(dice)));
            }
            if (dice.Chance(0.08))
                put("备注", Variant(QStringLiteral("户籍信息已核对")));
            if (p.age >= 30 && dice.Chance(0.2))
                put("备注2", Variant(QStringLiteral("%1年起在%2%3。")
                                         .arg(birthYear + 20)
                                         .arg(DemoCommunityName(), occupation(dice, p.age))));
            put("年龄", Variant(year - birthYear));
            put("显示", Variant(QStringLiteral("否")));
            if (columns >= kSecondLayoutColumns) {
                put("拥有土地", Variant(farming && p.relation == QStringLiteral("户主")
                                            ? QStringLiteral("%1亩").arg(dice.Between(1, 8))
                                            : QString()));
                put("楼房住户",
                    Variant(dice.Chance(0.4) ? QStringLiteral("是") : QStringLiteral("否")));
            }
            if (columns >= kCurrentLayoutColumns) {
                put("节育措施", Variant(!male && p.married && p.age < 50 && dice.Chance(0.5)
                                            ? QStringLiteral("上环")
                                            : QString()));
                static const QStringList blood =
                    QStringLiteral("A,B,O,AB,O,A").split(QLatin1Char(','));
                put("血型", Variant(dice.Chance(0.6) ? dice.Pick(blood) : QString()));
                put("低保",
                    Variant(dice.Chance(0.05) ? QStringLiteral("是") : QStringLiteral("否")));
                put("医保",
                    Variant(dice.Chance(0.9) ? QStringLiteral("是") : QStringLiteral("否")));
                put("廉租房",
                    Variant(dice.Chance(0.03) ? QStringLiteral("是") : QStringLiteral("否")));
            }
            if (dice.Chance(0.12))
                put("照片", Variant(EncodeJpeg(portrait(dice), 85)));
            rs->Update();
            ++made;
        }
    }
    conn->CommitTrans();
    rs->Close();
}

} // namespace

QString DemoCommunityName() {
    return QStringLiteral("红星村");
}

QString DemoUnitHierarchy() {
    return QStringLiteral("红星村\r\n 第一村民组\r\n  东院\r\n  西院\r\n 第二村民组\r\n  前街\r\n  "
                          "后街\r\n 第三村民组\r\n 村委会");
}

QChar IdentityCheckCharacter(const QString& first17) {
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char* const checks = "10X98765432";
    int sum = 0;
    for (int k = 0; k < 17 && k < first17.size(); ++k)
        sum += first17.at(k).digitValue() * weights[k];
    return QLatin1Char(checks[sum % 11]);
}

bool CreateResidentDatabase(const QString& path, const ResidentDatabaseOptions& options,
                            QString* error) {
    const int columns = options.layoutColumns;
    if (columns != kFirstLayoutColumns && columns != kSecondLayoutColumns &&
        columns != kCurrentLayoutColumns) {
        fail(error, QStringLiteral("只能生成 36、38 或 43 列的人员表（给的是 %1）").arg(columns));
        return false;
    }
    if (QFileInfo::exists(path)) {
        fail(error, QStringLiteral("文件“%1”已经存在，不会覆盖它").arg(path));
        return false;
    }
    try {
        CreateDatabaseFile(path);
        ConnectionPtr conn = Connection::Create();
        conn->Open(JetConnectionString(path),
                   QString(), QString(), -1);
        QStringList definitions;
        const int omitted = kCurrentLayoutColumns - columns;
        const auto& all = ResidentColumns();
        for (int k = 0; k < static_cast<int>(all.size()) - omitted; ++k)
            definitions << all[k].name + QLatin1Char(' ') + ColumnSqlType(all[k]);
        conn->Execute(QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(kResidentTable, definitions.join(QStringLiteral(", "))),
                      nullptr, adCmdText);
        if (options.demoResidents > 0) {
            addResidents(conn, options, columns);
            return writeDemoFiles(QFileInfo(path).absolutePath() + QLatin1Char('/'), error);
        }
        return true;
    } catch (const ComError& e) {
        fail(error, e.Description());
        return false;
    }
}
