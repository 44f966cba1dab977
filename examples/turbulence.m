% Light through atmospheric turbulence.
% 1. Phase screens of KVTurbScreen for Kolmogorov and von Karman turbulence
%    (the same seed: the outer scale takes out the largest scales), and the
%    mean structure function of 200 screens each (KVStructureFunction)
%    against the theory on log-log axes.
% 2. A collimated Gaussian beam (1.55 um, waist 3 cm) over 2 km for three
%    values of Cn^2, in ten slabs with a screen at the centre of each and
%    KVAngularSpectrum between them: one short exposure each, and the mean
%    of 30 (the long exposure); a smooth KVSuperGaussAperture at each step
%    keeps what the grid edge sends in away from the beam.
% 3. The scintillation index of a plane wave over 1 km (ten slabs, spacing a
%    fifth of the Fresnel scale, the central half of a 512-sample grid,
%    three realisations each) against the Rytov variance from 0.01 to 1,
%    beside the Rytov line.
% Writes build/demo/turbulence_screens.png, turbulence_beam.png and
% turbulence_scintillation.png.

outdir = demo_dir();

% --- 1. Screens and their structure functions ----------------------------
N = 256;
L = 1;                        % grid side (m): spacing 3.9 mm
r0 = 0.05;
L0 = 0.5;
F = KVBegin(L, 1e-6, N);
x = ((0:N-1) - N / 2) * L / N;
models = {'Kolmogorov', Inf; sprintf('von Karman, L0 = %.1f m', L0), L0};
screens = 200;
fig = figure('visible', 'off', 'position', [0 0 1040 860]);
for m = 1:2
  P = KVTurbScreen(7, r0, models{m, 2}, 0, F);
  subplot(2, 2, m);
  imagesc(1e3 * x, 1e3 * x, P);
  axis image xy;
  colormap(viridis(256));
  h = colorbar();
  ylabel(h, 'phase (rad)');
  xlabel('x (mm)');
  ylabel('y (mm)');
  title(sprintf('%s screen, r0 = %.0f mm', models{m, 1}, 1e3 * r0));
  % The mean over the screens, and its standard error.
  D = zeros(N / 2 + 1, 1);
  D2 = D;
  for s = 1:screens
    [d, r] = KVStructureFunction(KVTurbScreen(100 + s, r0, models{m, 2}, 0, F), F);
    D += d / screens;
    D2 += d.^2 / screens;
  end
  se = sqrt((D2 - D.^2) / (screens - 1));
  rr = r(2:end);
  if isinf(models{m, 2})
    theory = 6.8839 * (rr / r0).^(5/3);
  else
    % Von Karman in closed form: 4 pi c r0^(-5/3) [(3/5) f0^(-5/3)
    % - (pi r/f0)^(5/6) K_(5/6)(2 pi f0 r)/Gamma(11/6)], f0 = 1/L0.
    f0 = 1 / models{m, 2};
    theory = 4 * pi * 0.022896 * r0^(-5/3) * (0.6 * f0^(-5/3) - (pi * rr / f0).^(5/6) ...
             .* besselk(5/6, 2 * pi * f0 * rr) / gamma(11/6));
  end
  k = 2:N / 4 + 1;              % 2 to N/4 samples
  printf(['  %s: %d screens within %.1f %% of the theory from 2 to %d samples ' ...
          '(standard error up to %.1f %%)\n'], models{m, 1}, screens, ...
         100 * max(abs(D(k + 1) ./ theory(k) - 1)), N / 4, 100 * max(se(k + 1) ./ theory(k)));
  subplot(2, 2, m + 2);
  loglog(1e3 * rr, D(2:end), 'b-', 'linewidth', 2, 1e3 * rr, theory, 'r--', 'linewidth', 2, ...
         1e3 * rr, d(2:end), 'color', [0.6 0.6 0.6]);
  xlim(1e3 * [rr(1) rr(end)]);
  grid on;
  xlabel('separation r (mm)');
  ylabel('structure function D (rad^2)');
  legend({sprintf('mean of %d screens', screens), 'theory', 'one screen'}, 'location', 'northwest');
  title(sprintf('%s: D(r)', models{m, 1}));
end
demo_save(fig, 'turbulence_screens', ...
          sprintf(['Phase screens of KVTurbScreen, Kolmogorov and von Karman (outer scale %.1f m, ' ...
                   'the same seed), r0 = %.0f mm on a %g m grid, and the mean structure function ' ...
                   'of %d screens each (KVStructureFunction) against the theory.'], L0, 1e3 * r0, L, screens));

% --- 2. A Gaussian beam over 2 km ------------------------------------------
lambda = 1.55e-6;
k = 2 * pi / lambda;
Lz = 2000;
K = 10;
dz = Lz / K;
N = 256;
side = 0.8;                   % spacing 3.1 mm, a seventh of the Fresnel scale
w0 = 0.03;
Cn2s = [2e-15, 1e-14, 4e-14];
R = 30;
F0 = KVGaussAperture(w0 / sqrt(2), 0, 0, 1, KVBegin(side, lambda, N));  % field waist w0
absorber = @(G) KVSuperGaussAperture(0.36 * side, 6, 0, 0, 1, G);
x = ((0:N-1) - N / 2) * side / N;
vacuum = KVIntensity(0, KVAngularSpectrum(Lz, F0));
peak = max(vacuum(:));
view = abs(x) <= 0.15;
fig = figure('visible', 'off', 'position', [0 0 1060 1150]);
for c = 1:numel(Cn2s)
  r0k = (0.423 * k^2 * Cn2s(c) * dz)^(-3/5);
  r0p = (0.423 * k^2 * Cn2s(c) * Lz)^(-3/5);
  sR2 = 1.23 * Cn2s(c) * k^(7/6) * Lz^(11/6);
  mean_I = zeros(N);
  for run = 1:R
    G = KVAngularSpectrum(dz / 2, F0);
    for s = 1:K
      G = KVMultPhase(KVTurbScreen(1000 * c + 20 * run + s, r0k, Inf, 0, G), G);
      G = absorber(G);
      G = KVAngularSpectrum(dz / (1 + (s == K)), G);
    end
    I = KVIntensity(0, G) / peak;
    if run == 1
      short = I;
    end
    mean_I += I / R;
  end
  printf('  Cn2 = %.0e: r0 = %.1f mm, Rytov variance %.2f, long-exposure peak %.2f of vacuum\n', ...
         Cn2s(c), 1e3 * r0p, sR2, max(mean_I(:)));
  pics = {short, 'short exposure'; mean_I, sprintf('mean of %d', R)};
  for p = 1:2
    subplot(3, 2, 2 * (c - 1) + p);
    imagesc(1e3 * x(view), 1e3 * x(view), pics{p, 1}(view, view));
    axis image xy;
    colormap(hot(256));
    h = colorbar();
    ylabel(h, 'intensity / vacuum peak');
    xlabel('x (mm)');
    ylabel('y (mm)');
    title(sprintf('Cn² = %.0e m^(-2/3), r0 = %.0f mm: %s', Cn2s(c), 1e3 * r0p, pics{p, 2}), ...
          'interpreter', 'none');
  end
end
demo_save(fig, 'turbulence_beam', ...
          sprintf(['A collimated Gaussian beam (%.2f µm, waist %g cm) after %g km of turbulence in %d ' ...
                   'slabs (KVTurbScreen, KVAngularSpectrum), for three values of Cn²: one short ' ...
                   'exposure and the mean of %d (the long exposure), relative to the peak in vacuum.'], ...
                  1e6 * lambda, 100 * w0, Lz / 1000, K, R));

% --- 3. Plane-wave scintillation against the Rytov variance -----------------
lambda = 1e-6;
k = 2 * pi / lambda;
Lz = 1000;
K = 10;
dz = Lz / K;
N = 512;
d = sqrt(Lz / k) / 5;
c = N/4 + 1 : 3*N/4;
sR2 = [0.01 0.02 0.05 0.1 0.2 0.5 1];
index = zeros(size(sR2));
for j = 1:numel(sR2)
  Cn2 = sR2(j) / (1.23 * k^(7/6) * Lz^(11/6));
  r0k = (0.423 * k^2 * Cn2 * dz)^(-3/5);
  s1 = 0; s2 = 0; n = 0;
  for run = 1:3
    G = KVAngularSpectrum(dz / 2, KVBegin(N * d, lambda, N));
    for s = 1:K
      G = KVMultPhase(KVTurbScreen(5000 + 100 * j + 10 * run + s, r0k, Inf, 0, G), G);
      G = KVAngularSpectrum(dz / (1 + (s == K)), G);
    end
    I = KVIntensity(0, G)(c, c);
    s1 += sum(I(:)); s2 += sum(I(:).^2); n += numel(I);
  end
  index(j) = (s2 / n) / (s1 / n)^2 - 1;
end
printf('  scintillation index / Rytov variance:%s\n', sprintf(' %.2f', index ./ sR2));
s = [0.01 1];
fig = figure('visible', 'off', 'position', [0 0 640 520]);
loglog(sR2, index, 'bo', 'markersize', 8, 'linewidth', 2, s, s, 'k-');
grid on;
xlabel('Rytov variance \sigma_R^2 = 1.23 Cn^2 k^{7/6} L^{11/6}');
ylabel('scintillation index \sigma_I^2 = var(I)/mean(I)^2');
legend({'split-step, central half of the grid', 'Rytov: \sigma_I^2 = \sigma_R^2'}, ...
       'location', 'northwest');
title(sprintf('Plane wave over %g km, %d screens, %d x %d', Lz / 1000, K, N, N));
demo_save(fig, 'turbulence_scintillation', ...
          sprintf(['The scintillation index of a plane wave over %g km (%d screens, %d x %d samples, ' ...
                   'the central half of the grid) against the Rytov variance: it follows the Rytov ' ...
                   'line in weak turbulence.'], Lz / 1000, K, N, N));
