#include "storage/DataStorage.h"

// Every field starts from its default, given where it is declared.
DataStorage::DataStorage(QObject *parent) : QObject(parent) {}
