#pragma once
// The worked example of the calculation text: category 100, 2 ha, appendix 2 Нрд 27500, Кпсгр 1.1 from the
// one district row below, Кні 1.608 from the built-in list for 2026, every other factor 1. Shared by the
// core test of the text and the wizard test that enters the same data through the pages.
#include <QString>
#include <QStringList>

// The NGO.dat line of the district whose arable Кпсгр is 1.1.
inline QString WorkedExamplePsrLine() {
    return QStringLiteral(
        "dod9=Київська область\t4\tБроварський (П-1)\t1.1\t1.0\t0.9\t0.8\t0.7\t40\t41\t42\t43");
}

// The lines of the calculation text (each ends with CR LF in the text).
inline QStringList WorkedExampleLines() {
    return {
        QStringLiteral("Розрахунки по формулі: Цн = Пд х Нрд х Км1 х Км2 х Км3 х Км4 х Кцп х Кмц х Кні"),
        QString(),
        QStringLiteral("Пд=20000 кв.м"),
        QStringLiteral("Нрд=2.75 грн за кв.м."),
        QStringLiteral("Км1=1"),
        QStringLiteral("Км2=1"),
        QStringLiteral("Км3=1"),
        QStringLiteral("Км4=1"),
        QStringLiteral("Кцп=1"),
        QStringLiteral("Кмц=1.1 (по п.12 =Кпсгр)"),
        QStringLiteral("Кні=1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)"),
        QStringLiteral("ОЦІНКА=97 284.00 грн"),
    };
}
