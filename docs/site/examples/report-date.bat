@echo off
rem A date for a report, written YYYY-MM-DD whatever the system's format.
setlocal
set "ANSWER=%TEMP%\report-date.txt"
ask date "Which day shall the report cover?" "%ANSWER%"
if errorlevel 1 exit /b 1
set "DAY="
set /p DAY=<"%ANSWER%"
if not defined DAY exit /b 1
rem 2026-12-09 -> year, month and day
set "YEAR=%DAY:~0,4%" & set "MONTH=%DAY:~5,2%" & set "DATE_DAY=%DAY:~8,2%"
say -t Report -i "The report for %DATE_DAY%.%MONTH%.%YEAR% will be made."
exit /b 0
