// Stages of a search as told by the status line's text, and a recorder that stamps each change of stage.
#pragma once
#include "kit/MessagePump.h"
#include <windows.h>
#include <cstring>
#include <vector>

namespace stages
{

enum class SearchStage
{
    None,  // an emptied status line: no stage change
    Walk,
    Mp3,
    SizeFilter,
    Checksum,
    Grouping,
    Sort,
    List,
    Found,
    Stopped,
    Other,
};

struct StageText
{
    const char* prefix;
    SearchStage stage;
    const char* label;
};

// Order matters: the walk's "Просмотр:" must be tried before the checksum stage's "Просмотр ".
const StageText kStageTexts[] = {
    {"Просмотр:", SearchStage::Walk, "walk"},
    {"MP3:", SearchStage::Mp3, "mp3-sizes"},
    {"Оценка", SearchStage::SizeFilter, "size-filter"},
    {"Просмотр ", SearchStage::Checksum, "checksums"},
    {"Сравнение", SearchStage::Grouping, "grouping"},
    {"Сортировка...", SearchStage::Sort, "sort"},
    {"Составление списка файлов...", SearchStage::List, "list"},
    {"Найдено", SearchStage::Found, "found"},
    {"Прервано пользователем", SearchStage::Stopped, "stopped"},
};

inline SearchStage ClassifyStatus(const char* text)
{
    if (text == nullptr || *text == '\0')
        return SearchStage::None;
    for (const StageText& entry : kStageTexts)
        if (std::strncmp(text, entry.prefix, std::strlen(entry.prefix)) == 0)
            return entry.stage;
    return SearchStage::Other;
}

inline const char* StageLabel(SearchStage stage)
{
    for (const StageText& entry : kStageTexts)
        if (entry.stage == stage)
            return entry.label;
    return stage == SearchStage::None ? "start" : "other";
}

struct StageMark
{
    SearchStage stage;
    double time;
};

// The hook procedure has no context argument: the watched status field and its marks live here.
inline HWND g_hStatus = nullptr;
inline std::vector<StageMark>* g_pMarks = nullptr;

inline LRESULT CALLBACK StatusTextHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* const call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_pMarks && call->message == WM_SETTEXT && call->hwnd == g_hStatus)
    {
        const SearchStage stage = ClassifyStatus(reinterpret_cast<const char*>(call->lParam));
        if (stage != SearchStage::None && (g_pMarks->empty() || g_pMarks->back().stage != stage))
            g_pMarks->push_back({stage, NowSeconds()});
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Stamps every stage change of the status field while it lives.
class CStageRecorder
{
public:
    CStageRecorder(HWND hStatus, std::vector<StageMark>* pMarks)
        : m_hHook(::SetWindowsHookExA(WH_CALLWNDPROC, StatusTextHook, nullptr, ::GetCurrentThreadId()))
    {
        g_hStatus = hStatus;
        g_pMarks = pMarks;
    }
    ~CStageRecorder()
    {
        g_pMarks = nullptr;
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
    }
    CStageRecorder(const CStageRecorder&) = delete;
    CStageRecorder& operator=(const CStageRecorder&) = delete;

private:
    HHOOK m_hHook;
};

}  // namespace stages
