function status = sweep_check()
  % The commands keep no state between calls: a sweep over local processes
  % (the parallel package's pararrayfun) gives the serial loop's numbers bit
  % for bit, and the random commands, called concurrently from several
  % processes in any order, give the fields they give one at a time.
  % Prints "N passed, M failed"; returns 0 when all pass. Needs the modules
  % on the path.
  npass = 0;
  nfail = 0;
  function check(ok, what)
    if (ok)
      npass += 1;
      printf('  ok    %s\n', what);
    else
      nfail += 1;
      printf('  FAIL  %s\n', what);
    end
  end

  if (isempty(pkg('list', 'parallel')))
    printf('  FAIL  the parallel package is not installed (Debian: octave-parallel)\n');
    printf('0 passed, 1 failed\n');
    status = 1;
    return;
  end
  pkg load parallel
  procs = max(2, nproc());

  % A small Strehl sweep: wave-front error times wavelength.
  [W, L] = ndgrid(linspace(0, 0.3e-6, 5), [450e-9 633e-9 1064e-9]);
  strehl = @(w, lam) KVStrehl(KVZernike(4, 0, 1e-3, 2 * pi * w / lam, ...
    KVCircAperture(1e-3, 0, 0, KVBegin(3e-3, lam, 128))));
  spot = @(w, lam) max(max(KVIntensity(0, KVForward(1, 0.3e-3, 33, ...
    KVLens(1, 0, 0, KVZernike(4, 0, 1e-3, 2 * pi * w / lam, KVBegin(3e-3, lam, 64)))))));
  serial = arrayfun(strehl, W, L);
  par = pararrayfun(procs, strehl, W, L, 'VerboseLevel', 0);
  check(isequal(serial, par) && all(serial(:) > 0), 'Strehl sweep: parallel equals serial bit for bit');
  serial = arrayfun(spot, W, L);
  par = pararrayfun(procs, spot, W, L, 'VerboseLevel', 0, 'ChunksPerProc', 3);
  check(isequal(serial, par), 'focal-spot sweep through KVForward: parallel equals serial bit for bit');

  % The random commands, one at a time and concurrently in mixed order.
  F = KVCircAperture(1e-3, 0, 0, KVBegin(3e-3, 633e-9, 64));
  % Each job calls both commands, with seeds of its own.
  draw = @(k) KVRandomIntensity(100 + k, KVRandomPhase(k, 6, F));
  jobs = 1:16;
  one = arrayfun(draw, jobs, 'uniformoutput', false);
  mixed = jobs([16:-2:2, 1:2:15]);
  par = pararrayfun(procs, draw, mixed, 'VerboseLevel', 0, 'UniformOutput', false);
  check(isequal(par, one(mixed)), sprintf('KVRandomPhase and KVRandomIntensity from %d processes equal the serial results', procs));
  check(! isequal(one{1}, one{2}), 'different seeds give different fields');

  % Within one process: a call does not depend on the calls before it.
  a = KVRandomPhase(5, 3, F);
  b = KVRandomIntensity(9, F);
  b = KVRandomPhase(6, 3, b);
  check(isequal(KVRandomPhase(5, 3, F), a), 'KVRandomPhase restarts from its seed at every call');

  printf('%d passed, %d failed\n', npass, nfail);
  status = nfail > 0;
end

