#pragma once
// Tables, indexes and the definitions kept beside them in the file (so a
// later AlterTable can compare against what was created).
#include "TdbDefs.h"

class TdbConnection;

namespace TdbSchema {
bool IsInternalTable(const QString& name);
bool TableExists(TdbConnection& connection, const QString& table);
QStringList TableNames(TdbConnection& connection);
void Create(TdbConnection& connection, const QString& table, const TTdbFieldDefs& fields,
            const TTdbIndexDefs& indexes);
// Rebuilds the table with the new definitions, copying every row's columns by name;
// columns the definitions do not name are kept after the named ones.
void Recreate(TdbConnection& connection, const QString& table, const TTdbFieldDefs& fields,
              const TTdbIndexDefs& indexes);
// Adds one index to an existing table without rebuilding it; false when the
// table has an index of that name already (another program may have made it).
bool AddIndex(TdbConnection& connection, const QString& table, const TTdbIndexDef& index);
// Reads the stored definitions; columns not recorded are taken from the table itself.
void Read(TdbConnection& connection, const QString& table, TTdbFieldDefs& fields, TTdbIndexDefs& indexes);
}  // namespace TdbSchema
