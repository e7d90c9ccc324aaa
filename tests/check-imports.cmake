# Fails when PROGRAM imports a DLL that is not part of every Windows, or a
# kernel32 call that Windows 98 does not have (the loader would refuse the
# program there). The calls listed are those a MinGW runtime may bring in.
set(allowed kernel32.dll user32.dll gdi32.dll winmm.dll comdlg32.dll shell32.dll
            ole32.dll comctl32.dll advapi32.dll msvcrt.dll)
set(missing_on_98 GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
    TryEnterCriticalSection GetHandleInformation SetHandleInformation GetFileSizeEx
    SetFilePointerEx GetModuleHandleExA GetModuleHandleExW FlsAlloc FlsGetValue
    FlsSetValue FlsFree InitOnceExecuteOnce InitializeConditionVariable
    SleepConditionVariableCS WakeConditionVariable WakeAllConditionVariable
    GetSystemTimePreciseAsFileTime CreateEventExW GetNativeSystemInfo
    InitializeSRWLock AcquireSRWLockExclusive ReleaseSRWLockExclusive)
execute_process(COMMAND i686-w64-mingw32-objdump -p ${PROGRAM}
                OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no import table found in ${PROGRAM}")
endif()
foreach(entry ${names})
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(FIND allowed "${dll}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not a system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()

foreach(call ${missing_on_98})
  if(dump MATCHES "[ \t]${call}\n")
    message(FATAL_ERROR "${PROGRAM} imports ${call}, which Windows 98 does not have")
  endif()
endforeach()
