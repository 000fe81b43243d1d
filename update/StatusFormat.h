#pragma once
// How the printer writes its status code inside the STATUS value. It is a
// property of the port type (the port-type table names it for each type),
// chosen when the port is created and kept by the update driver, so it lives
// apart from the reply parser that reads it.

enum STATUS_FORMAT : int {
    STATUS_FORMAT_NONE = -2,   // no status code is read (no printer accepted yet)
    STATUS_FORMAT_WORD = -1,   // the code is the first 8 characters of STATUS
    STATUS_FORMAT_RECORDS = 0, // STATUS is hex type-length-value records; the code is record type 1
};
