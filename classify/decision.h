// The classification together with the rule that decided it, so that the
// window can say why a vessel has its class.
#pragma once

#include "ruletables.h"
#include "vessel.h"

#include <cstddef>

namespace korvane {

enum class DecidingRule
{
    ScopeTest, // outside the regulation: see Decision::scope
    Clause14,  // clause 1.4 makes it class I
    TableRow,  // a row of the group table: see Decision::row
    NoRow,     // in scope, but no row of the group table holds
};

// The conditions of the scope test that failed. All three are recorded, not
// only the first, because a reason that names one of two faults misleads.
struct ScopeFailures
{
    bool workingPressure = false; // pw < 0.1 MPa
    bool pressureVolume = false;  // pwV < 2.5 MPa·L
    bool medium = false;          // Check1 off

    bool any() const { return workingPressure || pressureVolume || medium; }
    friend bool operator==(const ScopeFailures &, const ScopeFailures &) = default;
};

struct Decision
{
    ClassResult result = ClassResult::OutOfClass;
    DecidingRule rule = DecidingRule::NoRow;
    ScopeFailures scope;                     // set for ScopeTest
    MediumGroup group = MediumGroup::Group1; // the table tried, for TableRow and NoRow
    const rules::TableRow *row = nullptr;    // TableRow only: an element of groupTable(group)

    // The row's number in its table, counted from 1; 0 when no row decided.
    std::size_t rowNumber() const;
};

// Applies the scope test, the clause-1.4 rule and the group table, in that
// order; the first that holds decides. classifyVessel gives its result.
Decision decideVessel(const VesselInput &input);

} // namespace korvane
