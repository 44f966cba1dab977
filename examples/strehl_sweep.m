% A parameter sweep: the focal-spot Strehl ratio of a lens with spherical
% aberration, over aberration amplitudes and wavelengths, run once as a
% serial loop and once over local processes with the parallel package
% (pararrayfun). The commands keep no state between calls, so the two give
% the same numbers bit for bit; MATLAB's parfor works the same way.
% Writes build/demo/strehl_sweep.png.
errors = linspace(0, 0.4e-6, 9);          % wave-front error (Zernike (4,0) amplitude), metres
lambdas = [450e-9 633e-9 1064e-9];
[W, L] = ndgrid(errors, lambdas);
A = 2 * pi * W ./ L;                      % the phase amplitude, radians

% The peak intensity in the focal plane of a 1 m lens, 2 mm pupil.
% KVForward sees the lens stretched by N/(N - 1) (the grid rule), so the
% focus lies at f*(N/(N - 1))^2.
N = 256;
focus = (N / (N - 1))^2;
peak = @(A, lam) max(max(KVIntensity(0, KVForward(focus, 0.3e-3, 129, ...
  KVLens(1, 0, 0, KVZernike(4, 0, 1e-3, A, KVCircAperture(1e-3, 0, 0, KVBegin(3e-3, lam, N))))))));
strehl = @(A, lam) peak(A, lam) / peak(0, lam);

t0 = tic;
serial = zeros(size(A));
for k = 1:numel(A)
  serial(k) = strehl(A(k), L(k));
end
t_serial = toc(t0);

have_parallel = ! isempty(pkg('list', 'parallel'));
if have_parallel
  pkg load parallel
  t0 = tic;
  parallel = pararrayfun(nproc(), strehl, A, L, "VerboseLevel", 0, "ChunksPerProc", 2);
  t_parallel = toc(t0);
  printf('  %d jobs: serial %.2f s, %d processes %.2f s, speed-up %.2f; results equal bit for bit: %d\n', ...
         numel(A), t_serial, nproc(), t_parallel, t_serial / t_parallel, isequal(serial, parallel));
  if ! isequal(serial, parallel)
    error('the parallel sweep differs from the serial loop');
  end
else
  printf('  %d jobs: serial %.2f s (install the parallel package, Debian octave-parallel, for the parallel run)\n', ...
         numel(A), t_serial);
end

% The Marechal estimate exp(-sigma^2), sigma the rms phase over the pupil:
% A/sqrt(5) for R_4^0 = 6 rho^4 - 6 rho^2 + 1.
[fig, pos] = demo_figure(1, 1, [520 340]);
ax = axes('units', 'pixels', 'position', pos{1});
h = plot(ax, 1e6 * errors, serial, 'o-', 1e6 * errors, exp(-(A / sqrt(5)).^2), 'k--');
grid(ax, 'on');
xlabel(ax, 'wave-front amplitude W of the Zernike term (4,0) (µm)');
ylabel(ax, 'Strehl ratio');
legend(ax, h(1:4), [arrayfun(@(l) sprintf('λ = %d nm', round(1e9 * l)), lambdas, ...
                             'uniformoutput', false), {'Maréchal exp(-A^2/5)'}], 'location', 'northeast');
title(ax, 'Strehl ratio, spherical aberration (pupil 2 mm, f = 1 m)');
demo_save(fig, 'strehl_sweep', ...
          ['The peak intensity in the focal plane of a lens (f = 1 m, pupil radius 1 mm) with ' ...
           'spherical aberration, relative to the unaberrated peak, against the amplitude W of ' ...
           'the wave front, for three wavelengths: the sweep run by KVForward (circles) against ' ...
           'the Maréchal estimate exp(−A²/5) with the phase amplitude A = 2πW/λ ' ...
           '(dashed). The same numbers come from the serial loop and from pararrayfun.']);
