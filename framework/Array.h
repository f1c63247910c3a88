// CArray and CStringArray: the framework's growable arrays.
#pragma once
#include "framework/String.h"
#include <vector>

template <class TYPE> class CArray
{
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    BOOL IsEmpty() const { return m_data.empty(); }
    void SetSize(INT_PTR nNewSize) { m_data.resize(static_cast<size_t>(nNewSize)); }
    void Reserve(INT_PTR nCount) { m_data.reserve(static_cast<size_t>(nCount)); }

    TYPE& operator[](INT_PTR nIndex) { return m_data[static_cast<size_t>(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[static_cast<size_t>(nIndex)]; }
    void SetAt(INT_PTR nIndex, const TYPE& value) { m_data[static_cast<size_t>(nIndex)] = value; }
    TYPE* GetData() { return m_data.data(); }
    const TYPE* GetData() const { return m_data.data(); }

    INT_PTR Add(const TYPE& value)
    {
        m_data.push_back(value);
        return GetSize() - 1;
    }
    INT_PTR Add(TYPE&& value)
    {
        m_data.push_back(std::move(value));
        return GetSize() - 1;
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }
    void RemoveAll()
    {
        m_data.clear();
        m_data.shrink_to_fit();
    }

private:
    std::vector<TYPE> m_data;
};

class CStringArray : public CArray<CString>
{
};
