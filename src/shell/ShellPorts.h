#pragma once
// What the main window asks of the windows that other modules build (the XML block editor, the map view).
// Each window registers its port with the main window when it is created; without a port the main window
// does what it can on its own (a finding then selects the navigator line of its section).
#include <QString>
#include <QStringList>

class ExchangeDocument;

class TXmlEditorPort {
public:
    virtual ~TXmlEditorPort() = default;
    virtual bool IsEditorVisible() const = 0;
    // Loads the file into the editor with the description file; false when it could not be loaded.
    virtual bool LoadEditorDocument(const QString& namesFile, const QString& file) = 0;
    virtual void ShowEditor() = 0;
    virtual void CloseEditor() = 0;
    virtual bool SelectLine(int line) = 0;
    virtual bool SelectElementPath(const QStringList& path) = 0;
    // Set when an element was added, deleted or switched since the last check.
    virtual bool StructureChanged() const = 0;
    virtual void SetStructureChanged(bool on) = 0;
    // The save button: enabled while the editor holds unsaved changes.
    virtual bool SaveEnabled() const = 0;
    virtual void SetSaveEnabled(bool on) = 0;
    // Writes the edited document to another file (the structure check of unsaved changes).
    virtual bool SaveEditorDocumentAs(const QString& path) = 0;
};

class TMapViewPort {
public:
    virtual ~TMapViewPort() = default;
    virtual bool IsMapVisible() const = 0;
    virtual void ShowMap() = 0;
    virtual void CloseMap() = 0;
    // Prepares the map for a file about to be opened or created; false refuses the file.
    virtual bool PrepareMapForFile(const QString& file) = 0;
    virtual void ClearLayers() = 0;
    virtual void RefreshMap() = 0;
    // Selects the object of the layer (number counted from 1; agro groups within their district).
    virtual void SelectMapObject(const QString& layer, int number, int district) = 0;
    // Builds the map objects of the document's geometry: false (or an std::exception) when the coordinates
    // could not be read.
    virtual bool BuildMapObjects(ExchangeDocument& document) = 0;
};
