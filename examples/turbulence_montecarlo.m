% Monte Carlo of a Gaussian beam over 2 km of turbulence. R independent
% realisations, one seed each, give the mean (long-exposure) intensity and
% the scintillation index sigma_I^2 = <I^2>/<I>^2 - 1. One function does
% the work of a realisation (examples/montecarlo/turbulence_realisation.m:
% split-step propagation through K phase screens); it runs here as a
% serial loop, over local processes with the parallel package's
% parcellfun and, when mc_hosts names servers of that package, on them
% with pconnect and netcellfun. The three give the same numbers bit for
% bit: a realisation depends on its seed and the parameters only, not on
% where or in which order it runs. The manual's page "Monte Carlo on a cluster" sets the
% servers up.
%
% Set before running the script to change the defaults:
%   mc_realisations  R, the number of realisations (100)
%   mc_samples       N, samples per side of the 0.512 m grid (128)
%   mc_hosts         server names for netcellfun, e.g. {'node1', 'node2'}
%                    ({}: no cluster run)
%   mc_tls           use TLS with SRP authentication on the cluster (false:
%                    Debian's build of the package has no TLS)
% Writes build/demo/turbulence_montecarlo_short.png,
% turbulence_montecarlo_mean.png and turbulence_montecarlo_scintillation.png.
outdir = demo_dir();
here = fileparts(which('demo_dir'));
addpath(fullfile(here, 'montecarlo'));
if (! exist('mc_realisations', 'var'))
  mc_realisations = 100;
end
if (! exist('mc_samples', 'var'))
  mc_samples = 128;
end
if (! exist('mc_hosts', 'var'))
  mc_hosts = {};
end
if (! exist('mc_tls', 'var'))
  mc_tls = false;
end

% The link: 1.55 um light, a collimated beam of 3 cm waist, 2 km of
% Kolmogorov turbulence in 10 slabs. The grid spacing (4 mm at N = 128) is
% under a fifth of the Fresnel scale sqrt(L/k); the absorber damps the
% outer part of the grid, which the beam does not reach.
lambda = 1.55e-6;
L = 2000;
Cn2 = 1e-14;
p = struct('size', 0.512, 'N', mc_samples, 'lambda', lambda, 'w0', 0.03, 'L', L, 'K', 10, ...
           'Cn2', Cn2, 'L0', Inf, 'l0', 0, 'absorber', 0.21);
k = 2 * pi / lambda;
sigma_R2 = 1.23 * Cn2 * k^(7/6) * L^(11/6);     % Rytov variance (plane wave)
r0 = (0.423 * k^2 * Cn2 * L)^(-3/5);            % Fried parameter (plane wave)
printf('  L = %g m, Cn2 = %g m^-2/3: Rytov variance %.2f, r0 = %.1f cm, Fresnel scale %.1f mm, spacing %.1f mm\n', ...
       L, Cn2, sigma_R2, 100 * r0, 1e3 * sqrt(L / k), 1e3 * p.size / p.N);

R = mc_realisations;
seeds = 1:R;
realise = @(seed) turbulence_realisation(seed, p);

% 1. A serial loop.
t0 = tic;
I = arrayfun(realise, seeds, 'UniformOutput', false);
t_serial = toc(t0);
printf('  %d realisations on a %d x %d grid: serial loop %.1f s\n', R, p.N, p.N, t_serial);

% 2. Local processes: the same function, the same seeds.
if (! isempty(pkg('list', 'parallel')))
  pkg load parallel
  t0 = tic;
  I_local = parcellfun(nproc(), realise, num2cell(seeds), 'UniformOutput', false, 'VerboseLevel', 0);
  printf('  parcellfun over %d processes %.1f s; equal to the loop bit for bit: %d\n', nproc(), toc(t0), ...
         isequal(I_local, I));
  if (! isequal(I_local, I))
    error('parcellfun differs from the serial loop');
  end

  % 3. Servers on other machines: a connection, then the same call.
  if (! isempty(mc_hosts))
    t0 = tic;
    conns = pconnect(mc_hosts, struct('use_tls', mc_tls));
    unwind_protect
      % The servers find the functions where the client does (the same
      % paths on every machine, e.g. a shared file system).
      dirs = unique(cellfun(@(f) fileparts(which(f)), {'KVBegin', 'turbulence_realisation', 'KVTurbScreen'}, ...
                            'UniformOutput', false));
      reval(sprintf('addpath(''%s'');', strjoin(dirs, ''', ''')), conns(2:end));
      % A server runs each batch it gets through parcellfun over Octave
      % sessions of its own, one per CPU; every batch costs a round trip,
      % so the batches are big: about two per server.
      info = network_get_info(conns);
      cpus = sum([info(! [info.local_machine]).nproc]);
      I_net = netcellfun(conns, realise, num2cell(seeds), 'UniformOutput', false, 'VerboseLevel', 0, ...
                         'ChunkSize', max(1, ceil(R / (2 * cpus))));
    unwind_protect_cleanup
      sclose(conns);
    end_unwind_protect
    printf('  pconnect and netcellfun on %d servers %.1f s; equal to the loop bit for bit: %d\n', numel(mc_hosts), toc(t0), ...
           isequal(I_net, I));
    if (! isequal(I_net, I))
      error('netcellfun differs from the serial loop');
    end
  end
else
  printf('  (install the parallel package, Debian octave-parallel, for the parallel runs)\n');
end

% The statistics, relative to the peak of the beam in vacuum (Cn2 = 0).
vacuum = turbulence_realisation(0, setfield(p, 'Cn2', 0));
peak = max(vacuum(:));
stack = cat(3, I{:}) / peak;
mean_I = mean(stack, 3);
scint = mean(stack.^2, 3) ./ mean_I.^2 - 1;
c = floor(p.N / 2) + 1;                          % the sample on the axis
on_axis = squeeze(stack(c, c, :));
s2 = @(v) mean(v.^2) / mean(v)^2 - 1;
jack = arrayfun(@(r) s2(on_axis([1:r-1, r+1:R])), 1:R);
err = sqrt((R - 1) / R * sum((jack - mean(jack)).^2));
% Weak-fluctuation theory of the on-axis index of a collimated Gaussian
% beam (Andrews and Phillips), for comparison.
Lam0 = 2 * L / (k * p.w0^2);
Theta = 1 / (1 + Lam0^2);
Lam = Lam0 / (1 + Lam0^2);
theory = 3.86 * sigma_R2 * (0.40 * ((1 + 2 * Theta)^2 + 4 * Lam^2)^(5/12) ...
                            * cos(5/6 * atan((1 + 2 * Theta) / (2 * Lam))) - 11/16 * Lam^(5/6));
printf('  on-axis scintillation index %.3f +- %.3f (R = %d); weak-fluctuation theory %.3f\n', ...
       s2(on_axis), err, R, theory);
printf('  mean on-axis intensity %.2f of the vacuum peak\n', mean_I(c, c));

% The pictures show the middle 0.2 m of the grid, in mm.
x = ((1:p.N) - c) * p.size / p.N * 1e3;
show = abs(x) <= 100;
pictures = {stack(:, :, 1), 'turbulence_montecarlo_short', 'intensity / vacuum peak', ...
            sprintf('One realisation (short exposure) over %g km, C_n^2 = %g m^{-2/3}', L / 1e3, Cn2), ...
            'One realisation (a short exposure) of the intensity, relative to the vacuum peak, from';
            mean_I, 'turbulence_montecarlo_mean', 'mean intensity / vacuum peak', ...
            sprintf('Mean (long-exposure) intensity of %d realisations', R), ...
            'The mean (long-exposure) intensity, relative to the vacuum peak, of';
            scint, 'turbulence_montecarlo_scintillation', 'scintillation index \sigma_I^2 (dimensionless)', ...
            sprintf('Scintillation index of %d realisations (mean > 1/20 of peak)', R), ...
            'The scintillation index, where the mean is above 1/20 of its peak, of'};
for n = 1:rows(pictures)
  A = pictures{n, 1}(show, show);
  if (n == 3)
    A(mean_I(show, show) < 0.05 * max(mean_I(:))) = NaN;
  end
  range = [0, max(A(:))];
  fig = figure('visible', 'off', 'position', [0 0 720 600]);
  imagesc(x(show), x(show), A, range);
  axis image xy;
  ax = gca();
  colormap(hot(256));
  xlabel(ax, 'x (mm)');
  ylabel(ax, 'y (mm)');
  title(ax, pictures{n, 4}, 'fontsize', 11);
  cb = colorbar();
  ylabel(cb, pictures{n, 3});
  set([ax cb], 'fontsize', 11);
  demo_save(fig, pictures{n, 2}, [pictures{n, 5} sprintf(' %d realisations of a Gaussian beam (1.55 µm, ', R) ...
                                   sprintf('waist 3 cm) over %g km, %d phase screens; ', L / 1e3, p.K) ...
                                   'a loop and parcellfun give the same realisations bit for bit.']);
end
