// Rule scope expressions: which objects a design rule applies to.
//
//   expr    := term { "Or" term }
//   term    := factor { "And" factor }
//   factor  := "Not" factor | "(" expr ")" | test
//   test    := "All" | IsKind | Query "(" quoted name ")"
//
// Keywords ignore case; quoted names ('GND' or "GND") are compared exactly.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Database.h"

namespace hostpcb {

struct ScopeExpr {
    enum Op { All, IsKind, IsThruPin, IsSmtPin, InNet, InNetClass, InComponent, InComponentClass, OnLayer, Not, And, Or };
    Op op = All;
    uint8_t kind = 0;
    std::string name;
    THostLayer layer = 0;
    std::shared_ptr<const ScopeExpr> left, right;
};

struct ScopeParse {
    std::shared_ptr<const ScopeExpr> expr;  // none when the text does not parse
    std::string error;                      // what is wrong, with the character position
};

ScopeParse ParseScope(std::string_view text);

// The names a scope refers to, for checking them against a board.
struct ScopeReference {
    ScopeExpr::Op op;
    std::string name;
};
void CollectScopeReferences(const ScopeExpr& expr, std::vector<ScopeReference>& out);

// Whether the scope selects the object on its board.
bool ScopeSelects(const Database& db, const Document* doc, const ScopeExpr& expr, const Object& o);

// The designator of a component (the text of its designator text).
std::string DesignatorOf(const Database& db, const Object& component);

// A class of the document by name, none when it has no such class.
const Object* FindClass(const Document* doc, std::string_view name, uint8_t memberKind);

// The rule of a kind that governs an object (or, with `second`, a pair of
// objects): the enabled rule with the smallest priority number whose scopes
// select it, the first of them in host order on equal priority.
const Object* DominantRule(const Database& db, const Object& first, const Object* second, uint8_t ruleKind);

}  // namespace hostpcb
