#include "library/EdsKeywordCheck.h"

#include "app/TextSearch.h"

namespace corvix {

const QStringList& RequiredEdsKeywords()
{
    static const QStringList keywords = {
        QStringLiteral("[File]"),      QStringLiteral("DescText="), QStringLiteral("CreateDate="),
        QStringLiteral("CreateTime="), QStringLiteral("Revision="), QStringLiteral("[Device]"),
        QStringLiteral("VendCode="),   QStringLiteral("ProdType="), QStringLiteral("ProdCode="),
        QStringLiteral("MajRev="),     QStringLiteral("MinRev="),   QStringLiteral("VendName="),
        QStringLiteral("ProdTypeStr="), QStringLiteral("ProdName=")};
    return keywords;
}

bool CheckEdsKeywords(const QByteArray& text, QString& report)
{
    for (const QString& keyword : RequiredEdsKeywords()) {
        if (FindText(text, keyword.toLatin1(), 0, text.size()) < 0) {
            report =
                QStringLiteral("Error : Key word \" %1\" not present in EDS file").arg(keyword);
            return false;
        }
    }
    report.clear();
    return true;
}

}  // namespace corvix
