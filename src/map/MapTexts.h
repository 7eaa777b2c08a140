#pragma once
// Texts of the map module, exactly as the user sees them.
#include <QString>

// Standard layers, in their order of creation.
inline const QString kLayerTerrZone = QStringLiteral("Територіальна зона");
inline const QString kLayerAgroGroup = QStringLiteral("Агрогрупа грунтів");
inline const QString kLayerSelhRaion = QStringLiteral("Природний-c-г район");
inline const QString kLayerOcRaion = QStringLiteral("Оціночний район");
inline const QString kLayerOcDilanka = QStringLiteral("Оціночна ділянка");
inline const QString kLayerInfoDistances = QStringLiteral("Iнфо: Відстані");
inline const QString kLayerInfoNumbering = QStringLiteral("Iнфо: Нумерація");
inline const QString kLayerInfoNodes = QStringLiteral("Iнфо: Вузли");
inline const QString kLayerTemporary = QStringLiteral("Тимчасовий");
inline const QString kLayerCosmetic = QStringLiteral("Косметичний шар");

// Geometry of exchange files: log lines.
inline const QString kMsgReadPoint = QStringLiteral("Неможливо считування блоку (Блок Координати): Точка № ");
inline const QString kMsgReadLine = QStringLiteral("Неможливо считування блоку (Блок Ліній): Лінія № ");
inline const QString kMsgLineNotFound = QStringLiteral("Не знайдено лінію ULID=");
inline const QString kMsgLineNotFoundTail = QStringLiteral(" у блоці Polyline");
inline const QString kMsgLineNoNodes = QStringLiteral("Лінія ULID=");
inline const QString kMsgLineNoNodesTail = QStringLiteral(" не має вузлів");
inline const QString kMsgCreateObject = QStringLiteral("Операція: Створення об'єкта.");
inline const QString kMsgUpdateObject = QStringLiteral("Оновлення об`єкту:");
inline const QString kMsgBuildObject = QStringLiteral("Побудова об`єкту: ");
inline const QString kMsgOuterPlot = QStringLiteral("Неможливо створити межі (Блок Оц.ділянки) ");
inline const QString kMsgInnerPlot = QStringLiteral("Неможливо створити межі внутр. (Блок Оц.ділянки)");
inline const QString kMsgOuterRaion = QStringLiteral("Неможливо створити межі (Блок Оц.район)");
inline const QString kMsgInnerRaion = QStringLiteral("Неможливо створити межі внутр. (Блок Оц.район)");
inline const QString kMsgOuterSelh = QStringLiteral("Неможливо створити межі (Блок ПСГ район)");
inline const QString kMsgInnerSelh = QStringLiteral("Неможливо створити межі внутр. (Блок ПСГ район)");
inline const QString kMsgOuterAgro = QStringLiteral("Неможливо створити межі (Блок Агрогрупа)");
inline const QString kMsgInnerAgro = QStringLiteral("Неможливо створити межі внутр. (Блок Агрогрупа)");
inline const QString kMsgOuterTerr = QStringLiteral("Неможливо створити межі (Блок Тер.зона) ");
inline const QString kMsgInnerTerr = QStringLiteral("Неможливо створити межі внутр. (Блок Тер.зона)");

// Coordinate transformation profiles.
inline const QString kProfileSaved = QStringLiteral("сохраненный профиль");
inline const QString kProfileDefault = QStringLiteral("по умолчанию");
inline const QString kZoneSuffix = QStringLiteral("-я зона");
inline const QString kZoneDefault = QStringLiteral("5-я зона");
