#pragma once

#include "Connection.h"
#include "DataSource.h"
#include "Field.h"
#include "PageImages.h"
#include "Table.h"
#include "VersionInfo.h"

#include <QObject>
#include <memory>

class AppFrame;

// The data module: the one connection, the four tables with their master-detail links, their
// fields and data sources, and the step that gives a document for printing its values.
class TfData : public QObject {
    Q_OBJECT
public:
    explicit TfData(AppFrame& frame, QObject* parent = nullptr);
    ~TfData() override;

    // Reads the executable's version (for the caption), locates "Quillbox.mdb" in the working
    // directory, checks that it has every table and column used here, adds the program's own
    // tables that are missing (a file that cannot take them still opens), and opens the tables.
    // When the file is missing it tells the user and asks the application to end. Other
    // failures are raised: StoreError for a file that cannot serve (see Connection.h).
    void DataModuleCreate(const QString& executablePath);

    // Adds a value for every field of the current template that the current document for
    // printing has none for.
    void RefreshFields();

    // OrientName of the row being calculated.
    void DocumentCalcFields(TADOTable& dataSet);

    TgsFileVersionInfo VerInf;
    TADOConnection Con;
    // The pictures behind template pages; made ready (the table added when missing) on opening.
    TfPageImages PageImages{Con};

    TADOTableAvtoInc Document;
    TADOTableAvtoInc Values_;
    TADOTableAvtoInc ListDoc;
    TADOTableAvtoInc HistoryValue;

    TDataSource dsDocument;
    TDataSource dsValues_;
    TDataSource dsListDoc;
    TDataSource dsHistoryValue;

    TField& DocumentId;
    TField& DocumentName;
    TField& DocumentPageCount;
    TField& DocumentOrientetion;
    TField& DocumentOrientName;

    TField& Values_Id;
    TField& Values_Document_Id;
    TField& Values_VarName;
    TField& Values_VarValue;
    TField& Values_PageNum;
    TField& Values_Left;
    TField& Values_Top;
    TField& Values_Height;
    TField& Values_Width;
    TField& Values_FontSize;
    TField& Values_FontName;
    TField& Values_FontBold;
    TField& Values_FontUnderline;

    TField& ListDocId;
    TField& ListDocDocument_Id;
    TField& ListDocDate;
    TField& ListDocDescript;

    TField& HistoryValueId;
    TField& HistoryValueListDoc_Id;
    TField& HistoryValueValues_Id;
    TField& HistoryValueValue;
    TField& HistoryValueVarName;
    TField& HistoryValueLeft;
    TField& HistoryValueTop;
    TField& HistoryValueHeight;
    TField& HistoryValueWidth;
    TField& HistoryValuePageNum;

private:
    // Every table and column the module reads must be in the file: the store would read an
    // unknown quoted name as a text.
    void CheckSchema();
    TField& Lookup(const char* name, TFieldType type, int size = 0);

    AppFrame& frame_;
};
