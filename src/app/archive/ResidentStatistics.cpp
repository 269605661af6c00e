#include "app/archive/ResidentStatistics.h"

#include "ado/AdoRecordSet.h"
#include "platform/FormatText.h"

#include <QSet>

ResidentCounts CountResidents(CAdoRecordSet& residents) {
    ResidentCounts counts;
    adodb::RecordsetPtr raw = residents.GetRecordset();
    if (!residents.IsOpen() || !raw)
        return counts;
    // The columns by position, read once; a missing column reads as empty.
    const int cancelled = raw->FindField(QStringLiteral("注销"));
    const int sex = raw->FindField(QStringLiteral("性别"));
    const int household = raw->FindField(QStringLiteral("户口簿编号"));
    auto text = [&](int column) {
        return column < 0 ? QString() : VariantToString(residents.GetCollectValue(column));
    };
    QSet<QString> households; // every distinct number, however many
    for (residents.MoveFirst(); !residents.IsEOF(); residents.MoveNext()) {
        const QString state = text(cancelled).trimmed();
        if (!state.isEmpty() && state != QStringLiteral("未注销"))
            continue;
        if (text(sex).contains(QStringLiteral("女")))
            ++counts.women;
        else
            ++counts.men;
        const QString number = text(household);
        if (!households.contains(number)) {
            households.insert(number);
            ++counts.households;
        }
    }
    return counts;
}

QString CountsText(const ResidentCounts& counts) {
    if (counts.Persons() <= 0)
        return QString();
    return FormatText(QStringLiteral("(%d户 %d人 男:%d人 女:%d人)"), counts.households,
                      counts.Persons(), counts.men, counts.women);
}
