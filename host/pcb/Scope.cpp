#include "Scope.h"

#include <algorithm>
#include <cctype>

namespace hostpcb {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct KindTest {
    const char* word;
    ScopeExpr::Op op;
    uint8_t kind;
};
constexpr KindTest KindTests[] = {
    {"IsPad", ScopeExpr::IsKind, KindPad},
    {"IsThruPin", ScopeExpr::IsThruPin, KindPad},
    {"IsSMTPin", ScopeExpr::IsSmtPin, KindPad},
    {"IsVia", ScopeExpr::IsKind, KindVia},
    {"IsTrack", ScopeExpr::IsKind, KindTrack},
    {"IsArc", ScopeExpr::IsKind, KindArc},
    {"IsFill", ScopeExpr::IsKind, KindFill},
    {"IsText", ScopeExpr::IsKind, KindText},
    {"IsPolygon", ScopeExpr::IsKind, KindPolygon},
    {"IsRegion", ScopeExpr::IsKind, KindRegion},
    {"IsComponent", ScopeExpr::IsKind, KindComponent},
    {"IsComponentBody", ScopeExpr::IsKind, KindComponentBody},
    {"IsNet", ScopeExpr::IsKind, KindNet},
    {"IsDimension", ScopeExpr::IsKind, KindDimension},
    {"IsCoordinate", ScopeExpr::IsKind, KindCoordinate},
    {"IsSplitPlane", ScopeExpr::IsKind, KindSplitPlane},
};

struct Query {
    const char* word;
    ScopeExpr::Op op;
};
constexpr Query Queries[] = {
    {"InNet", ScopeExpr::InNet},
    {"InNetClass", ScopeExpr::InNetClass},
    {"InComponent", ScopeExpr::InComponent},
    {"InComponentClass", ScopeExpr::InComponentClass},
    {"OnLayer", ScopeExpr::OnLayer},
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    ScopeParse Run() {
        ScopeParse result;
        auto expr = Expression();
        SkipSpace();
        if (expr && pos_ < text_.size()) Fail("unexpected \"" + std::string(text_.substr(pos_, 1)) + "\"");
        if (!error_.empty()) {
            result.error = error_;
            return result;
        }
        result.expr = std::move(expr);
        return result;
    }

private:
    using Ptr = std::shared_ptr<const ScopeExpr>;
    std::string_view text_;
    size_t pos_ = 0;
    std::string error_;

    void Fail(const std::string& what) {
        if (error_.empty()) error_ = what + " at character " + std::to_string(pos_ + 1);
    }

    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }

    std::string_view PeekWord() {
        SkipSpace();
        size_t end = pos_;
        while (end < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_'))
            ++end;
        return text_.substr(pos_, end - pos_);
    }

    bool TakeKeyword(std::string_view keyword) {
        std::string_view w = PeekWord();
        if (!EqualNoCase(w, keyword)) return false;
        pos_ += w.size();
        return true;
    }

    bool TakeChar(char c) {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    static Ptr Combine(ScopeExpr::Op op, Ptr left, Ptr right) {
        auto e = std::make_shared<ScopeExpr>();
        e->op = op;
        e->left = std::move(left);
        e->right = std::move(right);
        return e;
    }

    Ptr Expression() {
        Ptr left = Term();
        while (left && TakeKeyword("Or")) {
            Ptr right = Term();
            if (!right) return nullptr;
            left = Combine(ScopeExpr::Or, left, right);
        }
        return left;
    }

    Ptr Term() {
        Ptr left = Factor();
        while (left && TakeKeyword("And")) {
            Ptr right = Factor();
            if (!right) return nullptr;
            left = Combine(ScopeExpr::And, left, right);
        }
        return left;
    }

    Ptr Factor() {
        if (TakeKeyword("Not")) {
            Ptr inner = Factor();
            return inner ? Combine(ScopeExpr::Not, inner, nullptr) : nullptr;
        }
        if (TakeChar('(')) {
            Ptr inner = Expression();
            if (inner && !TakeChar(')')) {
                Fail("missing \")\"");
                return nullptr;
            }
            return inner;
        }
        return Test();
    }

    Ptr Test() {
        std::string_view word = PeekWord();
        if (word.empty()) {
            Fail(pos_ < text_.size() ? "unexpected \"" + std::string(text_.substr(pos_, 1)) + "\""
                                     : std::string("missing test"));
            return nullptr;
        }
        auto e = std::make_shared<ScopeExpr>();
        if (EqualNoCase(word, "All")) {
            pos_ += word.size();
            e->op = ScopeExpr::All;
            return e;
        }
        for (const KindTest& k : KindTests) {
            if (EqualNoCase(word, k.word)) {
                pos_ += word.size();
                e->op = k.op;
                e->kind = k.kind;
                return e;
            }
        }
        for (const Query& q : Queries) {
            if (EqualNoCase(word, q.word)) {
                pos_ += word.size();
                e->op = q.op;
                if (!TakeChar('(')) {
                    Fail("missing \"(\" after " + std::string(q.word));
                    return nullptr;
                }
                SkipSpace();
                size_t nameAt = pos_;
                if (!QuotedName(e->name)) return nullptr;
                if (!TakeChar(')')) {
                    Fail("missing \")\"");
                    return nullptr;
                }
                if (q.op == ScopeExpr::OnLayer) {
                    auto layer = LayerFromName(e->name);
                    if (!layer) {
                        pos_ = nameAt;
                        Fail("unknown layer \"" + e->name + "\"");
                        return nullptr;
                    }
                    e->layer = *layer;
                }
                return e;
            }
        }
        Fail("unknown test \"" + std::string(word) + "\"");
        return nullptr;
    }

    bool QuotedName(std::string& out) {
        SkipSpace();
        if (pos_ >= text_.size() || (text_[pos_] != '\'' && text_[pos_] != '"')) {
            Fail("missing quoted name");
            return false;
        }
        char quote = text_[pos_++];
        size_t end = text_.find(quote, pos_);
        if (end == std::string_view::npos) {
            Fail("unterminated name");
            return false;
        }
        out = std::string(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return true;
    }
};

const Object* NetOf(const Database& db, const Object& o) {
    if (o.kind == KindNet) return &o;
    const Object* net = db.Find(o.net);
    return net && net->kind == KindNet ? net : nullptr;
}

const Object* ComponentOf(const Database& db, const Object& o) {
    if (o.kind == KindComponent) return &o;
    const Object* c = db.Find(o.component);
    return c && c->kind == KindComponent ? c : nullptr;
}

bool ClassHolds(const Document* doc, std::string_view className, uint8_t memberKind, const std::string& member) {
    const Object* cls = FindClass(doc, className, memberKind);
    if (!cls) return false;
    const auto& m = cls->cls->members;
    return cls->cls->superClass != 0 || std::find(m.begin(), m.end(), member) != m.end();
}

bool RuleSelects(const Database& db, const Document* doc, const RuleData& rule, const Object& first,
                 const Object* second) {
    if (!rule.parsed1 || !rule.parsed2) return false;
    if (!second) return ScopeSelects(db, doc, *rule.parsed1, first);
    return (ScopeSelects(db, doc, *rule.parsed1, first) && ScopeSelects(db, doc, *rule.parsed2, *second)) ||
           (ScopeSelects(db, doc, *rule.parsed1, *second) && ScopeSelects(db, doc, *rule.parsed2, first));
}

}  // namespace

ScopeParse ParseScope(std::string_view text) { return Parser(text).Run(); }

void CollectScopeReferences(const ScopeExpr& expr, std::vector<ScopeReference>& out) {
    switch (expr.op) {
    case ScopeExpr::InNet:
    case ScopeExpr::InNetClass:
    case ScopeExpr::InComponent:
    case ScopeExpr::InComponentClass:
        out.push_back({expr.op, expr.name});
        break;
    default:
        break;
    }
    if (expr.left) CollectScopeReferences(*expr.left, out);
    if (expr.right) CollectScopeReferences(*expr.right, out);
}

std::string DesignatorOf(const Database& db, const Object& component) {
    if (!component.comp) return "";
    const Object* t = db.Find(component.comp->nameText);
    return t && t->text ? t->text->text : "";
}

const Object* FindClass(const Document* doc, std::string_view name, uint8_t memberKind) {
    if (!doc) return nullptr;
    for (const auto& content : doc->contents)
        for (const auto& [h, o] : content->byKind[KindClass])
            if (o->cls->memberKind == memberKind && o->cls->name == name) return o;
    return nullptr;
}

bool ScopeSelects(const Database& db, const Document* doc, const ScopeExpr& e, const Object& o) {
    switch (e.op) {
    case ScopeExpr::All:
        return true;
    case ScopeExpr::IsKind:
        return o.kind == e.kind;
    case ScopeExpr::IsThruPin:
        return o.kind == KindPad && o.pad->hole > 0;
    case ScopeExpr::IsSmtPin:
        return o.kind == KindPad && o.pad->hole == 0;
    case ScopeExpr::InNet: {
        const Object* net = NetOf(db, o);
        return net && net->netData->name == e.name;
    }
    case ScopeExpr::InNetClass: {
        const Object* net = NetOf(db, o);
        return net && ClassHolds(doc, e.name, 0, net->netData->name);
    }
    case ScopeExpr::InComponent: {
        const Object* c = ComponentOf(db, o);
        return c && DesignatorOf(db, *c) == e.name;
    }
    case ScopeExpr::InComponentClass: {
        const Object* c = ComponentOf(db, o);
        return c && ClassHolds(doc, e.name, 1, DesignatorOf(db, *c));
    }
    case ScopeExpr::OnLayer:
        return o.layer == e.layer;
    case ScopeExpr::Not:
        return !ScopeSelects(db, doc, *e.left, o);
    case ScopeExpr::And:
        return ScopeSelects(db, doc, *e.left, o) && ScopeSelects(db, doc, *e.right, o);
    case ScopeExpr::Or:
        return ScopeSelects(db, doc, *e.left, o) || ScopeSelects(db, doc, *e.right, o);
    }
    return false;
}

const Object* DominantRule(const Database& db, const Object& first, const Object* second, uint8_t ruleKind) {
    const Document* doc = db.DocumentOf(first);
    if (!doc) return nullptr;
    const Object* best = nullptr;
    for (const auto& content : doc->contents) {
        for (const auto& [h, o] : content->byKind[KindRule]) {
            const RuleData& r = *o->rule;
            if (r.ruleKind != ruleKind || !r.enabled) continue;
            if (best && r.priority >= best->rule->priority) continue;
            if (RuleSelects(db, doc, r, first, second)) best = o;
        }
    }
    return best;
}

}  // namespace hostpcb
