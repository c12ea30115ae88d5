#pragma once

#include <QString>

// Who makes the program: shown on the welcome panel and in the About box.
namespace MakerInfo {
inline const QString ProductName = QStringLiteral("Tessivo");
inline const QString MakerName = QStringLiteral("Tessivo Software");
inline const QString WebAddress = QStringLiteral("https://www.tessivo.example/");
inline const QString ProductsAddress = QStringLiteral("https://www.tessivo.example/products/");
inline const QString SupportAddress = QStringLiteral("support@tessivo.example");
inline const QString SalesAddress = QStringLiteral("sales@tessivo.example");
inline const QString Year = QStringLiteral("2026");
}
