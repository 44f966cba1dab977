function status = montecarlo_check(hosts)
  % A small Monte Carlo of a beam through turbulence, one call of
  % examples/montecarlo/turbulence_realisation.m per realisation, run as a
  % serial loop, over local processes (parcellfun) and, when HOSTS names
  % servers of the parallel package (pserver, started without TLS), on them
  % with pconnect and netcellfun: every form gives the serial intensities
  % bit for bit, in any order of the seeds. Prints "N passed, M failed" and
  % the times; returns 0 when all pass. Needs the modules on the path;
  % tests/package/montecarlo.sh starts the servers.
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

  root = fileparts(fileparts(fileparts(mfilename('fullpath'))));
  mcdir = fullfile(root, 'examples', 'montecarlo');
  addpath(mcdir);
  if (isempty(pkg('list', 'parallel')))
    printf('  FAIL  the parallel package is not installed (Debian: octave-parallel)\n');
    printf('0 passed, 1 failed\n');
    status = 1;
    return;
  end
  pkg load parallel

  % 1 km in 4 slabs: small, but every step of the example. At N = 128 the
  % FFTs run on as many threads as the process may use CPUs (one server
  % has one, the other two).
  p = struct('size', 0.512, 'N', 128, 'lambda', 1.55e-6, 'w0', 0.03, 'L', 1000, 'K', 4, ...
             'Cn2', 2e-14, 'L0', Inf, 'l0', 0, 'absorber', 0.21);
  realise = @(s) turbulence_realisation(s, p);
  seeds = 1:8;
  mixed = seeds([8 3 5 1 7 2 6 4]);

  t0 = tic;
  serial = arrayfun(realise, seeds, 'UniformOutput', false);
  t_serial = toc(t0);
  ok = all(cellfun(@(I) isequal(size(I), [128 128]) && isreal(I) && all(isfinite(I(:))), serial));
  check(ok, 'a realisation is a finite real 128 x 128 intensity');
  check(isequal(realise(3), serial{3}) && ! isequal(serial{3}, serial{4}), ...
        'a seed gives its realisation again; another seed another one');
  vacuum = turbulence_realisation(1, setfield(p, 'Cn2', 0));
  check(isequal(vacuum, turbulence_realisation(2, setfield(p, 'Cn2', 0))) && ...
        ! isequal(vacuum, serial{1}), 'Cn2 = 0: the vacuum beam, whatever the seed');
  power = cellfun(@(I) sum(I(:)), serial) / sum(vacuum(:));
  check(all(abs(power - 1) < 0.02), sprintf('turbulence keeps the power inside the absorber (%.4f to %.4f of vacuum)', ...
                                           min(power), max(power)));

  t0 = tic;
  local = parcellfun(2, realise, num2cell(seeds), 'UniformOutput', false, 'VerboseLevel', 0);
  t_local = toc(t0);
  check(isequal(local, serial), 'parcellfun over 2 processes equals the serial loop bit for bit');
  local = parcellfun(2, realise, num2cell(mixed), 'UniformOutput', false, 'VerboseLevel', 0, ...
                     'ChunksPerProc', 2);
  check(isequal(local, serial(mixed)), 'parcellfun, seeds in another order and in chunks: the same realisations');
  printf('  %d realisations: serial %.2f s, parcellfun (2 processes) %.2f s\n', numel(seeds), t_serial, t_local);

  if (! isempty(hosts))
    t0 = tic;
    conns = pconnect(hosts, struct('use_tls', false));
    t_connect = toc(t0);
    unwind_protect
      % Each server evaluates in one process of its own; the path is the
      % client's (same file system).
      network_set(conns, 'nlocaljobs', 1);
      dirs = unique(cellfun(@(f) fileparts(which(f)), {'KVBegin', 'turbulence_realisation', 'KVTurbScreen'}, ...
                            'UniformOutput', false));
      reval(sprintf('addpath(''%s'');', strjoin(dirs, ''', ''')), conns(2:end));
      t0 = tic;
      net = netcellfun(conns, realise, num2cell(seeds), 'UniformOutput', false, 'VerboseLevel', 0);
      t_net = toc(t0);
      check(isequal(net, serial), sprintf('netcellfun on %d servers equals the serial loop bit for bit', numel(hosts)));
      net = netcellfun(conns, realise, num2cell(mixed), 'UniformOutput', false, 'VerboseLevel', 0, 'ChunkSize', 2);
      check(isequal(net, serial(mixed)), 'netcellfun, seeds in another order and in chunks of 2: the same realisations');
      % Two local processes on each server (parcellfun there).
      network_set(conns, 'nlocaljobs', 2);
      net = netcellfun(conns, realise, num2cell(seeds), 'UniformOutput', false, 'VerboseLevel', 0);
      check(isequal(net, serial), 'netcellfun with 2 processes on each server: the same realisations');
      network_set(conns, 'nlocaljobs', 1);
      where = netcellfun(conns, @(s) sprintf('%s with %d CPU', gethostname(), nproc()), num2cell(1:4), ...
                         'UniformOutput', false, 'VerboseLevel', 0);
      check(numel(unique(where)) == numel(hosts), sprintf('the jobs ran on every server (%s)', strjoin(unique(where), ', ')));
      printf('  %d realisations: pconnect %.2f s, netcellfun on %d servers %.2f s\n', numel(seeds), t_connect, ...
             numel(hosts), t_net);
    unwind_protect_cleanup
      sclose(conns);
    end_unwind_protect
  end

  printf('%d passed, %d failed\n', npass, nfail);
  status = nfail > 0;
end
