% A saturable amplifier: a Gaussian beam passes a gain sheet several times.
% Left: the gain of one pass against the intensity, measured on uniform
% fields: exp(gain*L) for weak light, exp(gain*L/2) at the saturation
% intensity, falling toward 1 above. Right: a cross-section of a strong
% Gaussian beam after 0 to 4 passes, each scaled to its own peak: the
% centre, which saturates first, gains least and the profile flattens.
% Writes build/demo/saturated_amplifier.png.

outdir = demo_dir();

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

fig = figure('visible', 'off', 'position', [0 0 960 440]);
subplot(1, 2, 1);
semilogx(I / Isat, G, 'linewidth', 2);
hold on;
semilogx(I / Isat, exp(gL ./ (1 + I / Isat)), 'k--');
semilogx([1 1], [1 10], 'k:');
hold off;
grid on;
xlabel('I / I_{sat}');
ylabel('intensity gain of one pass');
legend('KVGain', 'exp(gL/(1+I/I_{sat}))', 'I = I_{sat}', 'location', 'southwest');
subplot(1, 2, 2);
plot(x, profiles, 'linewidth', 1.5);
grid on;
xlabel('x (mm)');
ylabel('intensity / peak');
legend(arrayfun(@(p) sprintf('%d passes', p), 0:4, 'uniformoutput', false));
print(fig, '-dpngcairo', '-r80', fullfile(outdir, 'saturated_amplifier.png'));
close(fig);

printf('  weak-signal gain %.2f (exp(gL) = %.2f), gain at I = Isat %.2f\n', G(1), exp(gL), ...
       interp1(I, G, Isat));
printf('  peak intensity after each pass: %s\n', sprintf('%.1f ', peaks));
