# Fails when PROGRAM is not a Windows GUI program of the FORMAT given
# (pei-i386 or pei-x86-64), imports a DLL that is not part of every Windows,
# or, with WINDOWS_98 set, a kernel32 call that Windows 98 does not have (the
# loader would refuse the program there). The calls listed are those a MinGW
# runtime may bring in.
# usage: cmake -DPROGRAM=... -DOBJDUMP=... -DFORMAT=... [-DWINDOWS_98=ON] -P check-imports.cmake
set(allowed kernel32.dll user32.dll gdi32.dll winmm.dll comdlg32.dll shell32.dll
            ole32.dll comctl32.dll advapi32.dll msvcrt.dll)
set(missing_on_98 GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
    TryEnterCriticalSection GetHandleInformation SetHandleInformation GetFileSizeEx
    SetFilePointerEx GetModuleHandleExA GetModuleHandleExW FlsAlloc FlsGetValue
    FlsSetValue FlsFree InitOnceExecuteOnce InitializeConditionVariable
    SleepConditionVariableCS WakeConditionVariable WakeAllConditionVariable
    GetSystemTimePreciseAsFileTime CreateEventExW GetNativeSystemInfo
    InitializeSRWLock AcquireSRWLockExclusive ReleaseSRWLockExclusive)
# objdump's words are translated under a Japanese locale, as in the tests.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${PROGRAM}
                OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
if(NOT dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "${PROGRAM} is not of the format ${FORMAT}")
endif()
# Subsystem 2 is the Windows GUI: a console program would open a window of
# its own beside the show.
if(NOT dump MATCHES "\nSubsystem[ \t]+0*2[ \t]")
  message(FATAL_ERROR "${PROGRAM} is not a Windows GUI program")
endif()
message(STATUS "${PROGRAM}: ${FORMAT}, Windows GUI")
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

if(NOT WINDOWS_98)
  return()
endif()
foreach(call ${missing_on_98})
  if(dump MATCHES "[ \t]${call}\n")
    message(FATAL_ERROR "${PROGRAM} imports ${call}, which Windows 98 does not have")
  endif()
endforeach()
