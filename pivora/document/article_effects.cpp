// The article's named values (stored as effects) and its transform effects.
#include "pivora/article.h"

#include "pivora/document/article_walk.h"
#include "pivora/tx_effect.h"

#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

using article_walk::ForEachDescendant;
using article_walk::PreorderNext;

// Named values ------------------------------------------------------------------------------------

namespace {

bool EndsWith(const CString& entry, const CString& name) {
    int n = name.GetLength();
    int m = entry.GetLength();
    return n > 0 && m >= n && entry.str().compare(size_t(m - n), size_t(n), name.str()) == 0;
}

// The entry less its name and the one separator character before it; false when there is none.
bool DottedValue(const CString& entry, const CString& name, CString& value) {
    int keep = entry.GetLength() - name.GetLength() - 1;
    if (keep < 0)
        return false;
    value = entry.Left(keep);
    return true;
}

} // namespace

int CArticle::GetEffect(const CString& name, int* index) const {
    if (name.IsEmpty())
        return 0;
    for (INT_PTR i = 0; i < m_Effects.GetSize(); ++i)
        if (EndsWith(m_Effects.GetAt(i), name)) {
            if (index)
                *index = int(i);
            return 1;
        }
    return 0;
}

void CArticle::SetEffect(const CString& value, const CString& name, int keep) {
    int index;
    if (!keep && GetEffect(name, &index))
        m_Effects.RemoveAt(index);
    m_Effects.Add(value + name);
}

void CArticle::RemoveEffect(int index) {
    m_Effects.RemoveAt(index);
}

void CArticle::RemoveAllEffects() {
    m_Effects.RemoveAll();
}

void CArticle::RemoveAllEffects(const CString& name) {
    if (name.IsEmpty())
        return;
    for (INT_PTR i = m_Effects.GetSize() - 1; i >= 0; --i)
        if (EndsWith(m_Effects.GetAt(i), name))
            m_Effects.RemoveAt(i);
}

int CArticle::fnGetString(const wchar_t* name, CString& out) const {
    // Most articles carry no effects: every drawing asks for a dozen, so no key is built then.
    if (m_Effects.IsEmpty()) {
        out.Empty();
        return 0;
    }
    CString key(name);
    int index;
    if (GetEffect(key, &index)) {
        const CString& entry = m_Effects.GetAt(index);
        out = entry.Left(entry.GetLength() - key.GetLength());
    } else {
        out.Empty();
    }
    return out.GetLength();
}

int CArticle::fnSaveString(const wchar_t* name, const wchar_t* value, int recurse) {
    std::wstring_view key = name ? name : L"";
    std::wstring_view text = value ? value : L"";
    // When several articles change, the name or the text may be held by an entry of one of
    // them: kept as copies then.
    std::wstring keyCopy, textCopy;
    if (recurse) {
        keyCopy = key;
        textCopy = text;
        key = keyCopy;
        text = textCopy;
    }
    // One look-up per article: an entry holding this text already stays; an empty or different
    // one is taken out and the new one goes to the end, as setting the effect does. Importers
    // save on every article they make: only the entry itself is built, and moved in.
    auto save = [&](CArticle* a) {
        CStringArray& effects = a->m_Effects;
        INT_PTR found = -1;
        for (INT_PTR i = 0; !key.empty() && i < effects.GetSize() && found < 0; ++i)
            if (std::wstring_view(effects.GetAt(i).str()).ends_with(key))
                found = i;
        if (found >= 0) {
            const std::wstring_view entry = effects.GetAt(found).str();
            const std::wstring_view current = entry.substr(0, entry.size() - key.size());
            if (!current.empty() && current == text)
                return 0;
        }
        // Built before the row changes: the name or the text may be one of its entries.
        std::wstring entry;
        entry.reserve(text.size() + key.size());
        entry.append(text).append(key);
        if (found >= 0)
            effects.RemoveAt(found);
        const INT_PTR at = effects.GetSize();
        effects.SetSize(at + 1);
        effects[at] = CString(std::move(entry));
        return 1;
    };
    int changed = 0;
    if (recurse)
        ForEachDescendant(this, [&](CArticle* a) { changed |= save(a); });
    changed |= save(this);
    return changed;
}

int CArticle::fnSaveValue(const wchar_t* name, int value, int recurse) {
    // Decimal digits as "%d" writes them, without the formatting machinery.
    wchar_t text[16];
    wchar_t* p = text + 15;
    *p = L'\0';
    uint32_t v = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    do {
        *--p = wchar_t(L'0' + v % 10);
        v /= 10;
    } while (v);
    if (value < 0)
        *--p = L'-';
    return fnSaveString(name, p, recurse);
}

int CArticle::fnGetValue(const wchar_t* name, int def) const {
    if (m_Effects.IsEmpty())
        return def;
    CString text;
    if (fnGetString(name, text) == 0)
        return def;
    int value = def;
    if (std::swscanf(text.GetString(), L"%d", &value) != 1)
        return def;
    return value;
}

int CArticle::fnIsEffectUsed(const CString& name, const CString& value) {
    auto used = [&](CArticle* a) {
        int index;
        CString v;
        return a->GetEffect(name, &index) && DottedValue(a->m_Effects.GetAt(index), name, v) &&
               v == value;
    };
    if (used(this))
        return 1;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (auto* a = DynamicDowncast<CArticle>(t); a && used(a))
            return 1;
    return 0;
}

void CArticle::fnRenameEffect(const CString& name, const CString& oldValue,
                              const CString& newValue) {
    auto rename = [&](CArticle* a) {
        int index;
        CString v;
        if (a->GetEffect(name, &index) && DottedValue(a->m_Effects.GetAt(index), name, v) &&
            v == oldValue)
            a->m_Effects.SetAt(index, newValue + L"." + name);
    };
    rename(this);
    ForEachDescendant(this, rename);
}

// Transform effects ------------------------------------------------------------------------------

void CArticle::AddTxEffect(CTxEffect* effect) {
    if (effect)
        m_TxEffects.Add(effect);
}

void CArticle::InsertTxEffect(CTxEffect* effect, int at) {
    if (!effect)
        return;
    if (at < 0)
        at = 0;
    if (at > TxEffectCount())
        at = TxEffectCount();
    m_TxEffects.InsertAt(at, effect);
}

void CArticle::RemoveTxEffect(int i) {
    if (i < 0 || i >= TxEffectCount())
        return;
    CTxEffect* e = m_TxEffects.GetAt(i);
    m_TxEffects.RemoveAt(i);
    delete e;
}

void CArticle::RemoveAllTxEffects() {
    for (INT_PTR i = 0; i < m_TxEffects.GetSize(); ++i)
        delete m_TxEffects.GetAt(i);
    m_TxEffects.RemoveAll();
}

CArticle* CArticle::TxEffectXform(CArticle* a, int n) {
    for (INT_PTR i = 0; i < m_TxEffects.GetSize(); ++i)
        a = m_TxEffects.GetAt(i)->Xform(a, n);
    return a;
}

CItem* CArticle::TxEffectXform(CItem* item) {
    for (INT_PTR i = 0; i < m_TxEffects.GetSize(); ++i)
        item = m_TxEffects.GetAt(i)->Xform(item);
    return item;
}

void CArticle::TxEffectXform(int x, int y, int& outX, int& outY) {
    outX = x;
    outY = y;
    for (INT_PTR i = 0; i < m_TxEffects.GetSize(); ++i) {
        int nx = outX, ny = outY;
        m_TxEffects.GetAt(i)->Xform(nx, ny, outX, outY);
    }
}

namespace {

// Chains the point-array transforms. An array made by one step is freed once the next step has
// made its own; the caller's array is never freed. A step that gives null keeps the previous
// array.
template <class P> P* ChainXform(const CTxEffectArray& effects, P* pts, int n, int& outN) {
    if (effects.GetSize() == 0)
        return nullptr;
    P* current = pts;
    int count = n;
    for (INT_PTR i = 0; i < effects.GetSize(); ++i) {
        int nextCount = count;
        P* next = effects.GetAt(i)->Xform(current, count, nextCount);
        if (!next)
            continue;
        if (current != pts && current != next)
            delete[] current;
        current = next;
        count = nextCount;
    }
    outN = count;
    // No step made an array of its own: nothing for the caller to take or free.
    return current == pts ? nullptr : current;
}

} // namespace

CLpoint* CArticle::TxEffectXform(CLpoint* pts, int n, int& outN) {
    return ChainXform(m_TxEffects, pts, n, outN);
}

CPoint* CArticle::TxEffectXform(CPoint* pts, int n, int& outN) {
    return ChainXform(m_TxEffects, pts, n, outN);
}
