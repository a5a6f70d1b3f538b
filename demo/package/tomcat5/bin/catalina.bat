@echo off
rem Start script of the Quarn application server. The installer rewrites the default install
rem path in the paths below to the folder chosen at installation.
if not defined JAVA_HOME set JAVA_HOME=c:\quarn\java
set CATALINA_HOME=c:\quarn\tomcat5
set CATALINA_BASE=c:\quarn\tomcat5
set CATALINA_TMPDIR=c:\quarn\tomcat5\temp
set JAVA_OPTS=-Xms64m -Xmx256m -Dfile.encoding=GBK
