// CArchive: the binary object stream of design files. Little-endian, explicit widths.
//
// Reading is defensive: a damaged stream raises CArchiveException and nothing else. Nothing is
// allocated for a length or count before it is checked against the bytes the stream still holds,
// nothing is read past the end, a loaded object must be of the class its reader asks for, and
// object nesting is bounded so a hostile file cannot exhaust the stack.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/exceptions.h"
#include "platform/core/object.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>
#include <unordered_map>
#include <vector>

class CFile;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };
    // Object-reference tags.
    static constexpr WORD wNullTag = 0x0000;
    static constexpr WORD wNewClassTag = 0xFFFF;
    static constexpr WORD wClassTag = 0x8000;
    static constexpr WORD wBigObjectTag = 0x7FFF;
    static constexpr DWORD dwBigClassTag = 0x80000000;
    // Deepest nesting of objects inside objects that is written or read.
    static constexpr int kMaxObjectDepth = 400;

    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_mode & load) != 0; }
    BOOL IsStoring() const { return (m_mode & load) == 0; }
    CFile* GetFile() const { return m_file; }
    // Writes buffered bytes to the file (storing); a loading archive drops nothing.
    void Flush();
    void Close();
    void Abort();

    // Raw bytes. Read returns the count that came (short only at the end of the stream).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Reads exactly count bytes or raises the end-of-file exception.
    void ReadExact(void* buffer, UINT count);
    // Reads and drops count bytes without allocating them.
    void Skip(ULONGLONG count);
    // Bytes the stream still holds from the current position.
    ULONGLONG BytesRemaining() const;
    // Raises the end-of-file exception unless the stream still holds count bytes.
    void RequireRemaining(ULONGLONG count) const;
    // Stream position of the next byte (the file position once buffered bytes are counted).
    ULONGLONG GetPosition() const;

    CArchive& operator<<(bool v) { return WriteValue(BYTE(v ? 1 : 0)); }
    CArchive& operator<<(char v) { return WriteValue(v); }
    CArchive& operator<<(signed char v) { return WriteValue(v); }
    CArchive& operator<<(BYTE v) { return WriteValue(v); }
    CArchive& operator<<(int16_t v) { return WriteValue(v); }
    CArchive& operator<<(WORD v) { return WriteValue(v); }
    CArchive& operator<<(int32_t v) { return WriteValue(v); }
    CArchive& operator<<(uint32_t v) { return WriteValue(v); }
    CArchive& operator<<(int64_t v) { return WriteValue(v); }
    CArchive& operator<<(uint64_t v) { return WriteValue(v); }
    CArchive& operator<<(float v) { return WriteValue(v); }
    CArchive& operator<<(double v) { return WriteValue(v); }
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const CObject* obj) {
        WriteObject(obj);
        return *this;
    }

    CArchive& operator>>(bool& v);
    CArchive& operator>>(char& v) { return ReadValue(v); }
    CArchive& operator>>(signed char& v) { return ReadValue(v); }
    CArchive& operator>>(BYTE& v) { return ReadValue(v); }
    CArchive& operator>>(int16_t& v) { return ReadValue(v); }
    CArchive& operator>>(WORD& v) { return ReadValue(v); }
    CArchive& operator>>(int32_t& v) { return ReadValue(v); }
    CArchive& operator>>(uint32_t& v) { return ReadValue(v); }
    CArchive& operator>>(int64_t& v) { return ReadValue(v); }
    CArchive& operator>>(uint64_t& v) { return ReadValue(v); }
    CArchive& operator>>(float& v) { return ReadValue(v); }
    CArchive& operator>>(double& v) { return ReadValue(v); }
    CArchive& operator>>(CString& s);
    CArchive& operator>>(CObject*& obj) {
        obj = ReadObject(nullptr);
        return *this;
    }

    // Counts: u16, or 0xFFFF followed by u32.
    void WriteCount(DWORD_PTR count);
    DWORD_PTR ReadCount();
    // A count of elements each at least minBytes long, checked against the stream.
    DWORD_PTR ReadCount(UINT minBytesPerElement);

    // Strings in the Unicode form (0xFF, 0xFFFE, length, UTF-16LE); reads also take the
    // single-byte form.
    void WriteString(const CString& s);
    CString ReadString();

    // Object references: null, a back reference, or a new object preceded by its class.
    void WriteObject(const CObject* obj);
    // Reads an object of cls (or derived; any class when cls is null). A reference back to
    // an object already read is refused: every object in a design has one owner.
    CObject* ReadObject(const CRuntimeClass* cls);
    template <class T> T* ReadObjectAs() { return static_cast<T*>(ReadObject(T::GetThisClass())); }
    // Reads a reference that does not own what it points at (a selection entry's article):
    // a reference back to an object read before from this archive, still alive and of class
    // cls, is allowed. A new object is created and read as ReadObject does; `created` tells
    // the caller whether it received such a new object (which it then owns).
    CObject* ReadObjectReference(const CRuntimeClass* cls, bool* created = nullptr);
    template <class T> T* ReadObjectReferenceAs(bool* created = nullptr) {
        return static_cast<T*>(ReadObjectReference(T::GetThisClass(), created));
    }

    // The two halves of WriteObject/ReadObject, for readers that serialize the body
    // themselves (sibling rows without recursion). WriteObjectHeader returns true when the
    // object is new to the archive and its body must follow; ReadObjectHeader creates the
    // object (null for the null reference) without serializing it.
    bool WriteObjectHeader(const CObject* obj);
    CObject* ReadObjectHeader(const CRuntimeClass* cls) { return ReadObjectHeader(cls, nullptr); }

    // Bracket the serialization of a nested object; raise badIndex beyond kMaxObjectDepth.
    void EnterObject();
    void LeaveObject() { --m_depth; }
    int Depth() const { return m_depth; }

    // The schema of the class being loaded (0xFFFFFFFF outside an object load).
    UINT GetObjectSchema() const { return m_schema; }

    // Field of the owning document, left to callers.
    void* m_pDocument = nullptr;

private:
    // Values are stored little-endian whatever the host's order.
    static_assert(std::endian::native == std::endian::little ||
                      std::endian::native == std::endian::big,
                  "stored values need a host of one byte order");
    template <class T> CArchive& WriteValue(T v) {
        static_assert(std::is_arithmetic_v<T>);
        BYTE bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        if constexpr (std::endian::native == std::endian::big)
            std::reverse(bytes, bytes + sizeof v);
        Write(bytes, sizeof v);
        return *this;
    }
    template <class T> CArchive& ReadValue(T& v) {
        static_assert(std::is_arithmetic_v<T>);
        BYTE bytes[sizeof v];
        ReadExact(bytes, sizeof v);
        if constexpr (std::endian::native == std::endian::big)
            std::reverse(bytes, bytes + sizeof v);
        std::memcpy(&v, bytes, sizeof v);
        return *this;
    }
    // backReference: null to refuse references back to earlier objects, else receives whether
    // the result is such a reference (not to be serialized again).
    CObject* ReadObjectHeader(const CRuntimeClass* cls, bool* backReference);
    CObject* ReadObjectBody(CObject* obj);
    static void ObjectDeleted(CObject* obj);
    void FillBuffer();
    void WriteClass(const CRuntimeClass* cls);
    [[noreturn]] void Fail(int cause) const;

    CFile* m_file;
    UINT m_mode;
    std::vector<BYTE> m_buffer;
    size_t m_bufPos = 0; // loading: next byte; storing: bytes held
    size_t m_bufEnd = 0; // loading: bytes in the buffer
    ULONGLONG m_fileLength = 0;
    int m_depth = 0;
    UINT m_schema = 0xFFFFFFFF;

    // Storing: object or class record -> number. Loading: number -> entry.
    std::unordered_map<const void*, DWORD> m_storeMap;
    // Loading: each numbered entry; a class entry has no object, an object entry has its class
    // and the object while it lives.
    struct LoadEntry {
        CRuntimeClass* cls;
        CObject* obj;
        bool isObject;
    };
    std::vector<LoadEntry> m_loadArray;
    std::unordered_map<const CObject*, size_t> m_loadedIndex;
    CArchive* m_prevLoading = nullptr; // chain of the archives loading now
    DWORD m_mapCount = 1;              // storing: the next number
};
