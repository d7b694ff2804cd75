#include "game/map_loader.h"

#include <cstring>

#include "corvane.h"

namespace zan3 {

namespace {

RtString JoinRows(const RtString& path) {
    IniOpen(path);
    // The answer of the failed lookup is joined too: split off as the last piece, it is
    // never a cell, and a row that lacks its final comma loses its last code into it.
    RtString text;
    double rowCount = 0;
    for (double i = 0; i <= rowCount; i += 1) {
        const RtString row = IniGet(RtString("map_1"), RtString(i + 1));
        text += row;
        if (std::strcmp(row.Text(), "NO_DATA") != 0) rowCount += 1;
    }
    return text;
}

void LayOut(MapData& m) {
    double rowX = 0, rowY = 0;
    for (double i = 0; i < m.cellCount; i += 1) {
        m.cellX(i) = rowX;
        m.cellY(i) = rowY;
        m.cellHalfSize(i) = kCellHalf;
        rowX += 2 * kCellHalf;
        if (std::strcmp(m.codes(i).Text(), "/") == 0) {
            rowX = 0;
            rowY += 2 * kCellHalf;
        }
    }
}

void Centre(MapData& m, double centreX, double centreY) {
    // The runtime's arrays read a negative index from the end; a map too small to have a
    // last cell must fail here as an index past the end does.
    double last = m.cellCount - 2;
    if (last < 0) last = m.cellCount;
    const double dx = centreX - (m.cellX(last) - m.cellX(0)) * 0.5;
    const double dy = centreY - (m.cellY(last) - m.cellY(0)) * 0.5;
    for (double i = 0; i < m.cellCount; i += 1) {
        m.cellX(i) += dx;
        m.cellY(i) += dy;
        m.cellBaseX(i) = m.cellX(i);
        m.cellBaseY(i) = m.cellY(i);
        m.cellAlpha(i) = -0.015;
    }
}

void BuildObjects(MapData& m) {
    m.items.clear();
    m.blinkers.clear();
    m.letters.clear();
    for (double i = 0; i < m.cellCount; i += 1) {
        const RtString& code = m.codes(i);
        const double x = m.cellX(i), y = m.cellY(i), half = m.cellHalfSize(i);
        if (IsItemCode(code)) {
            ItemMarker it;
            it.x = it.restX = x;
            it.y = it.restY = y;
            it.half = half;
            it.kind = StringMid(code, 1, 1);
            m.items.push_back(it);
        }
    }
    for (double i = 0; i < m.cellCount; i += 1) {
        const RtString& code = m.codes(i);
        if (!IsBlinkerCode(code)) continue;
        Blinker b;
        b.x = b.restX = m.cellX(i);
        b.y = b.restY = m.cellY(i);
        b.half = m.cellHalfSize(i);
        b.look = code;
        b.alpha = -1.0 / 5;
        const char n = code.Text()[1];
        if (n == '1' || n == '2') {
            b.startLimit = 200;
            b.startCounter = RandomGet(200);
        } else {
            b.startCounter = RandomGet(1);
            if (b.startCounter == 1) {
                b.alpha = -1.0;
                b.phase = 4;
            }
        }
        m.blinkers.push_back(b);
    }
    for (double i = 0; i < m.cellCount; i += 1) {
        const RtString& code = m.codes(i);
        if (!IsLetterCode(code)) continue;
        LetterObject l;
        l.x = l.restX = m.cellX(i);
        l.y = l.restY = m.cellY(i);
        l.kind = code.Text()[0] == ' ' ? StringMid(code, 1, 1) : StringMid(code, 0, 1);
        l.startCounter = RandomGet(200);
        m.letters.push_back(l);
    }
}

}  // namespace

void MapLoad(MapData& m, const RtString& path, double centreX, double centreY) {
    const RtString text = JoinRows(path);
    m.cellCount = StringSplit(text, ",", m.codes) - 1;
    if (m.cellCount < 0) m.cellCount = 0;
    for (RtNumberArray* a : {&m.cellX, &m.cellY, &m.cellBaseX, &m.cellBaseY, &m.cellHalfSize,
                             &m.cellDelay, &m.cellAlpha})
        ArrayDim(*a, m.cellCount);
    LayOut(m);
    Centre(m, centreX, centreY);
    BuildObjects(m);
    m.ringShadowX = m.ringShadowY = 2;
}

}  // namespace zan3
