// How long a run waits for each command it starts and for the services those commands start
// or stop. A command still running at its bound is ended, with every process it started, and
// the run treats that as a failure naming the command. The runs carry these as a value, so
// tests give small bounds; the defaults are for the real bundle on a slow machine.
#pragma once

namespace pub {

struct CommandBounds {
  // "net start": it waits itself until the service reports that it runs, for as long as the
  // service keeps reporting progress. The database recovering its logs after an unclean stop,
  // or the web server's Java deploying the sites, can take minutes on a slow machine.
  unsigned netStartSeconds = 300;
  // "net stop": it waits until the service has stopped. The database flushes its buffers and
  // logs while stopping, and the web server undeploys every site: minutes on a slow disk.
  unsigned netStopSeconds = 300;
  // The database's own tool, registering or removing its service: a few seconds of work, with
  // room for a virus scanner that checks the freshly placed program before it may run.
  unsigned databaseToolSeconds = 120;
  // The web server's service.bat: the command processor, then the Java service tool that
  // registers or removes the service, each freshly placed and scanned before it runs.
  unsigned webServerToolSeconds = 180;
  // After "net start" or "net stop" has returned, until the service reports that it runs or
  // has let go of its files.
  unsigned serviceStateSeconds = 30;
  // Once the web server runs, until the site answers on its port.
  unsigned siteSeconds = 60;
  // What a removal's service thread may take beyond the bounds of its own steps before the
  // removal stops waiting for it.
  unsigned takedownMarginSeconds = 30;

  // How long a removal waits for a service's stop (its "net stop" and the wait for the state),
  // and for its whole takedown (the stop, then the command that unregisters it).
  unsigned TakedownStopSeconds() const { return netStopSeconds + serviceStateSeconds + takedownMarginSeconds; }
  unsigned TakedownSeconds(unsigned removeCommandSeconds) const {
    return TakedownStopSeconds() + removeCommandSeconds;
  }
};

}  // namespace pub
