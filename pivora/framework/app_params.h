// Application parameters, machine-wide values, registry names, program and home folders and
// the action log. Parameter names are exact, case-sensitive literals.
#pragma once

#include "pivora/framework/app_param.h"
#include "platform/core/cstring.h"

int QvGetAppParam(const wchar_t* name, int defaultValue);
int QvGetAppParam(const wchar_t* name, int& out, int defaultValue);
int QvGetAppParam(const wchar_t* name, CString& out);
CAppParam* QvGetAppParam(const CString& name, CAppParam* (*factory)(const CString&));
void QvSetAppParam(const wchar_t* name, int value);
void QvSetAppParam(const wchar_t* name, const CString& value);
int QvGetSetAppParam(const wchar_t* name, int defaultValue);
int QvGetSetAppParam(const wchar_t* name, CString& text);
wchar_t* QvGetAppParamSection();
// Sections are at most 99 characters; longer ones are cut.
void QvSetAppParamSection(const wchar_t* section);

int FnGetAppParamFromLocalMachine(const wchar_t* name, CString& out);
int FnSetAppParamInLocalMachine(const wchar_t* name, const CString& value);
// Stems are at most 255 characters; longer ones are cut.
void FnSetRegistryStem(const wchar_t* stem);
wchar_t* FnGetRegistryStem();
// "Software\Oquen\<stem>" and "\<sub>" when given; the text lives until the next call.
wchar_t* FnGetRegistryString(const wchar_t* sub);

// The program folder (ending in a separator) followed by `file`; also stored as "Runtime Path".
void QvRuntimePath(const wchar_t* file, CString& out);
// The home folder, ending in a separator, followed by `file` without a leading "\".
void QvHomePath(const wchar_t* file, CString& out);
// QvHomePath of the string resource `id`.
void QvHomePathFromID(int id, CString& out);
// Appends "<local time> <text>" to the file named by "Log File" under the home folder.
void QvLogAction(const CString& text);

// Test seam: forgets every cached parameter without writing it, the home folder, the stem and
// the section, as at the start of a process.
void QvResetAppParamCache();
