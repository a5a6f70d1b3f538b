@echo off
rem Demo stand-in for the application server's start script.
set JAVA_HOME=c:\quarn\java
set CATALINA_HOME=c:\quarn\tomcat5
