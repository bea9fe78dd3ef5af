// The one fault that ends a program tick: a remainder by zero, an item table that is full, a loop
// that exceeds its statement budget while a block is read. Raised inside the interpreter and caught
// where the run loop or the block reader catches faults; it never reaches the user as such.
#pragma once

#include <stdexcept>

class ScriptFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
