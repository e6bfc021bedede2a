// CObserver: the part of an object that a subject lists.
#pragma once

class CSubject;
class CSelectionObserver;

class CObserver {
public:
    CObserver() = default;
    // Detaches from the subject.
    ~CObserver();
    // A copy shares the subject but is not listed by it.
    CObserver(const CObserver& other);
    CObserver& operator=(const CObserver& other);

    CSubject* GetSubject() const { return m_pSubject; }

private:
    void Release();
    friend class CSubject;
    friend class CSelectionObserver;
    friend class CSelectionManager;
    CSubject* m_pSubject = nullptr;
    // The selection observer this part belongs to, for the manager's notices.
    CSelectionObserver* m_pSelection = nullptr;
};
