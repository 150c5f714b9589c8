// Small boards for the module's tests: a description is loaded into the
// module's own database and made the current document.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Loader.h"
#include "Module.h"

namespace hostpcb::test {

inline pcbapi::THandle Open(const std::string& text, const std::string& path = "board.json") {
    std::string error;
    Document* doc = LoadDocumentText(State().db, path, text, error);
    EXPECT_NE(doc, nullptr) << error;
    if (!doc) return 0;
    State().db.SetCurrent(doc);
    return doc->board;
}

inline std::string LoadError(const std::string& text, const std::string& path = "board.json") {
    std::string error;
    Document* doc = LoadDocumentText(State().db, path, text, error);
    EXPECT_EQ(doc, nullptr);
    return error;
}

// Every handle an iterator returns, in order.
inline std::vector<pcbapi::THandle> Walk(pcbapi::THandle container, uint8_t kind, uint8_t method,
                                         pcbapi::THostLayer layer = 0) {
    std::vector<pcbapi::THandle> out;
    pcbapi::THandle it = PcbApi_CreateIterator(container, kind, method, layer);
    for (pcbapi::THandle h = PcbApi_GetFirstObject(it); h != 0; h = PcbApi_GetNextObject(it)) out.push_back(h);
    PcbApi_DestroyIterator(it);
    return out;
}

inline pcbapi::TName255 Name(const std::string& s) {
    pcbapi::TName255 n;
    n.Assign(s);
    return n;
}

// The first object of a kind whose record satisfies a test.
template <typename F>
pcbapi::THandle Find(pcbapi::THandle board, uint8_t kind, F test) {
    for (pcbapi::THandle h : Walk(board, kind, 0))
        if (test(h)) return h;
    return 0;
}

inline pcbapi::THandle ComponentByDesignator(pcbapi::THandle board, const std::string& designator) {
    return Find(board, KindComponent, [&](pcbapi::THandle h) {
        pcbapi::TComponentRecord c;
        PcbApi_QueryComponent(1, h, &c);
        pcbapi::TTextRecord t;
        PcbApi_QueryText(1, c.NameText, &t);
        return t.Text.Str() == designator;
    });
}

inline pcbapi::THandle NetByName(pcbapi::THandle board, const std::string& name) {
    return Find(board, KindNet, [&](pcbapi::THandle h) {
        pcbapi::TNetRecord n;
        PcbApi_QueryNet(1, h, &n);
        return n.Name.Str() == name;
    });
}

}  // namespace hostpcb::test
