#pragma once
// Texts of the valuation-file writer and of "Зберегти як", exactly as the user sees them.
#include <QString>

inline const QString kMsgLoadFile = QStringLiteral("Помилка завантаження файлу: ");
inline const QString kMsgFillExecutor = QStringLiteral("Помилка заповнення виконавця: ");
inline const QString kMsgSaveFile = QStringLiteral("Помилка зберегання файлу: ");
inline const QString kMsgSaveWorkingCopy = QStringLiteral("Помилка збереження тимчасового файлу ");
inline const QString kMsgConvertFile = QStringLiteral("Помилка конвертації файлу: ");
inline const QString kMsgParseFile = QStringLiteral("Помилка парсингу файлу: ");
inline const QString kMsgNotLoaded = QStringLiteral("Файл ще не завантажений.");
inline const QString kMsgNoCoordinates =
    QStringLiteral("Файл був завантажений без координат. Збереження неможливе.");
inline const QString kMsgMissingBlock = QStringLiteral("У файлі відсутній блок ");
inline const QString kMsgMissingBlockTail = QStringLiteral(". Збереження неможливе.");
inline const QString kMsgNoPlotContour = QStringLiteral("Збережено без межі ділянки.");
inline const QString kMsgNoDistrictContour = QStringLiteral("Збережено без межі ValuationDistrict №");
inline const QString kMsgNoNaturalContour =
    QStringLiteral("Збережено без межі NaturalAgriculturalsDistrict №");
inline const QString kMsgNoAgroContour = QStringLiteral("Збережено без межі AgroGroup №");
inline const QString kMsgFinished = QStringLiteral("Закінчено.");
inline const QString kSaveDialogTitle = QStringLiteral("Зберігти файл");
inline const QString kSaveDialogFilter = QStringLiteral("XML файли|*.xml");
inline const QString kSaveDialogExtension = QStringLiteral(".xml");
// The output name of a valuation: the source's name without extension + this.
inline const QString kValuationFileSuffix = QStringLiteral(" нго.xml");
