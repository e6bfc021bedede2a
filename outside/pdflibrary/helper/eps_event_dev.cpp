#include "eps_event_dev.h"

#include <GfxState.h>

#include <cstring>

void EpsEventDev::startPage(int, GfxState* state, XRef*) {
    if (!m_pageStart)
        return;
    m_events.codes.push_back(EpsEvents::kStartPage);
    m_events.numbers.push_back(state ? state->getPageWidth() : 0);
    m_events.numbers.push_back(state ? state->getPageHeight() : 0);
}

void EpsEventDev::endPage() {
    if (!m_pageEnd)
        return;
    m_events.codes.push_back(EpsEvents::kEndPage);
    Hand();
}

void EpsEventDev::markPoint(const char* name) {
    if (!name)
        return;
    if (m_muted && std::strcmp(name, kEndOfReplay) == 0)
        m_muted = false;
    else if (!m_muted && std::strcmp(name, kEndOfPart) == 0)
        m_reachedEnd = true;
}

void EpsEventDev::fill(GfxState* state) {
    if (!m_muted)
        AddPath(state, true);
}

void EpsEventDev::stroke(GfxState* state) {
    if (!m_muted)
        AddPath(state, false);
}

// The path as the writer writes it: its colour, then each subpath of two points or more as
// its start, its lines and curves, and its closing; the points on the page.
void EpsEventDev::AddPath(GfxState* state, bool fill) {
    std::vector<uint8_t>& codes = m_events.codes;
    std::vector<double>& numbers = m_events.numbers;
    codes.push_back(fill ? EpsEvents::kFill : EpsEvents::kStroke);

    GfxColorSpace* space = fill ? state->getFillColorSpace() : state->getStrokeColorSpace();
    const GfxColor* colour = fill ? state->getFillColor() : state->getStrokeColor();
    const GfxColorSpaceMode mode = space ? space->getMode() : csDeviceGray;
    if (!space) {
        codes.push_back(EpsEvents::kNoColour);
    } else if (mode == csDeviceGray || mode == csCalGray) {
        GfxGray gray;
        space->getGray(colour, &gray);
        codes.push_back(EpsEvents::kGray);
        numbers.push_back(colToDbl(gray));
    } else if (mode == csDeviceCMYK || (mode == csICCBased && space->getNComps() == 4)) {
        GfxCMYK cmyk;
        space->getCMYK(colour, &cmyk);
        codes.push_back(EpsEvents::kCmyk);
        for (GfxColorComp c : {cmyk.c, cmyk.m, cmyk.y, cmyk.k})
            numbers.push_back(colToDbl(c));
    } else {
        GfxRGB rgb;
        space->getRGB(colour, &rgb);
        codes.push_back(EpsEvents::kRgb);
        for (GfxColorComp c : {rgb.r, rgb.g, rgb.b})
            numbers.push_back(colToDbl(c));
    }

    if (const GfxPath* path = state->getPath()) {
        auto point = [&](const GfxSubpath* sub, int i) {
            double x, y;
            state->transform(sub->getX(i), sub->getY(i), &x, &y);
            numbers.push_back(x);
            numbers.push_back(y);
        };
        for (int s = 0; s < path->getNumSubpaths(); ++s) {
            const GfxSubpath* sub = path->getSubpath(s);
            const int n = sub->getNumPoints();
            if (n < 2)
                continue;
            codes.push_back(EpsEvents::kMove);
            point(sub, 0);
            for (int i = 1; i < n;) {
                if (sub->getCurve(i) && i + 2 < n) {
                    codes.push_back(EpsEvents::kCurve);
                    point(sub, i);
                    point(sub, i + 1);
                    point(sub, i + 2);
                    i += 3;
                } else {
                    codes.push_back(EpsEvents::kLine);
                    point(sub, i);
                    ++i;
                }
            }
            if (sub->isClosed())
                codes.push_back(EpsEvents::kClose);
        }
    }
    codes.push_back(EpsEvents::kPathEnd);
    Hand();
}
