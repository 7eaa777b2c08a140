#pragma once
// The long-lived windows, created once at start-up in a fixed order. Windows created on first use start
// as null.
class TFormXMLMain;
class TFormMain;
class TFormDialog;
class TFormWait;
class TFormLogDlg;
class TFormEditXML;
class TFormMapView;
class TFormCK63;
class TFormSelectKatottg;
class QWidget;

struct TAppWindows {
    TFormXMLMain* FormXMLMain = nullptr;
    TFormMain* FormMain = nullptr;
    TFormDialog* FormDialog = nullptr;
    TFormWait* FormWait = nullptr;
    TFormLogDlg* FormLogDlg = nullptr;
    TFormEditXML* FormEditXML = nullptr;
    TFormMapView* FormMapView = nullptr;
    TFormCK63* FormCK63 = nullptr;
    TFormSelectKatottg* FormSelectKatottg = nullptr;
    // Created when first needed.
    QWidget* FormGeoBuildManual = nullptr;
    QWidget* FormAddObj = nullptr;
    QWidget* FormSelectCoefKlk = nullptr;
    QWidget* FormDilDBMain = nullptr;
    QWidget* FormPrintSelect = nullptr;
};

TAppWindows& AppWindows();
