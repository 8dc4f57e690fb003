#pragma once

class Database;

// Fills a new database with a sample shop: the demo lists (medicines, partners, employees,
// members, the company) and generated stock-in bills, sales, collections and payments, so a
// newcomer sees a living shop. The numbers are drawn from a fixed seed.
namespace DemoShop {
void fill(Database& db);
}
