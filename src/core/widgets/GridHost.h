#pragma once

#include <QString>

class DataGrid;

// A list or query window whose grid the main window's export command writes to a spreadsheet.
class GridHost {
public:
    virtual ~GridHost() = default;
    virtual DataGrid* hostGrid() = 0;
    // Default file name of the export (the window's caption).
    virtual QString hostGridName() const = 0;
};
