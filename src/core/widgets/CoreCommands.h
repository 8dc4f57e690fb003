#pragma once

// Registers the main window's commands whose windows live in the core: the category trees
// (MedicineType, CustType, SupplyType, EmployeeType, Zone) and the lookup lists (Units, Depart,
// JiXing, DepotName, CashType, SetPosition).
void RegisterCoreCommands();
