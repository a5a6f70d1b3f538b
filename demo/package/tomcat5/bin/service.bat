@echo off
rem Registers or removes the application server as a Windows service.
rem Usage: service.bat install NAME
rem        service.bat remove NAME
rem The service program lies beside this file; the folder two levels up is the site it serves.
"%~dp0tomcat5-service.exe" %*
exit /b %ERRORLEVEL%
