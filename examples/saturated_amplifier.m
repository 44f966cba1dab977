% A saturable amplifier: a Gaussian beam passes a gain sheet several times.
% Left: the gain of one pass against the intensity, measured on uniform
% fields: exp(gain*L) for weak light, exp(gain*L/2) at the saturation
% intensity, falling toward 1 above. Right: a cross-section of a strong
% Gaussian beam after 0 to 4 passes, each scaled to its own peak: the
% centre, which saturates first, gains least and the profile flattens.
% Writes build/demo/saturated_amplifier.png.

side = 6e-3;
lambda = 1064e-9;
N = 128;
Isat = 1;                  % saturation intensity, in units of |F|^2
gL = log(10);              % small-signal gain of one pass: 10 in intensity

% Gain of one pass on uniform fields of intensity I.
I = logspace(-3, 3, 61);
G = zeros(size(I));
F = KVBegin(side, lambda, N);
for k = 1:numel(I)
  Fin = KVIntAttenuator(I(k), F);
  Fout = KVGain(Isat, gL, 1, Fin);
  G(k) = KVIntensity(0, Fout)(1, 1) / KVIntensity(0, Fin)(1, 1);
end

% A strong Gaussian beam, peak 20 Isat, through four passes.
beam = KVIntAttenuator(20, KVGaussAperture(1.5e-3, 0, 0, 1, F));
x = ((0:N-1) - N/2) * side / N * 1e3;
profiles = zeros(5, N);
peaks = zeros(1, 5);
for p = 0:4
  Ip = KVIntensity(0, beam);
  profiles(p + 1, :) = Ip(N/2 + 1, :) / max(Ip(:));
  peaks(p + 1) = max(Ip(:));
  beam = KVGain(Isat, gL, 1, beam);
end

[fig, pos] = demo_figure(1, 2, [340 300], 'heading', ...
                         'Saturable gain sheet, small-signal gain 10 in intensity (KVGain)');
ax = axes('units', 'pixels', 'position', pos{1});
semilogx(ax, I / Isat, exp(gL ./ (1 + I / Isat)), 'k-', I / Isat, G, 'o', 'markersize', 5, ...
         [1 1], [1 10], 'k:');
grid(ax, 'on');
xlabel(ax, 'intensity I / I_{sat}');
ylabel(ax, 'intensity gain of one pass');
title(ax, 'gain of one pass, uniform field');
legend(ax, 'exp(gL/(1 + I/I_{sat}))', 'KVGain', 'I = I_{sat}', 'location', 'southwest');
ax = axes('units', 'pixels', 'position', pos{2});
plot(ax, x, profiles, 'linewidth', 1.5);
grid(ax, 'on');
xlabel(ax, 'x (mm)');
ylabel(ax, 'intensity / its peak');
title(ax, 'Gaussian beam, peak 20 I_{sat} at first');
legend(ax, arrayfun(@(p) sprintf('after %d passes', p), 0:4, 'uniformoutput', false), ...
       'location', 'south');
demo_save(fig, 'saturated_amplifier', ...
          ['Left: the intensity gain of one pass through KVGain (small-signal gain exp(gL) = 10, ' ...
           'saturation intensity Isat) on uniform fields, against the formula exp(gL/(1 + I/Isat)): ' ...
           '10 for weak light, √10 at Isat. Right: a cross-section of a strong Gaussian beam ' ...
           'after 0 to 4 passes, each scaled to its peak: the centre saturates first, gains least, ' ...
           'and the profile flattens.']);

printf('  weak-signal gain %.2f (exp(gL) = %.2f), gain at I = Isat %.2f\n', G(1), exp(gL), ...
       interp1(I, G, Isat));
printf('  peak intensity after each pass: %s\n', sprintf('%.1f ', peaks));
