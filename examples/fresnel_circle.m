% Fresnel diffraction behind a circular hole, at two distances: in the near
% field (Fresnel number 10) the pattern is a disc full of rings, farther on
% (Fresnel number 0.8) it has become a single bright spot with faint rings.
% Writes build/demo/fresnel_circle.png.
size_ = 4e-3;           % grid side: 4 mm
lambda = 633e-9;        % He-Ne wavelength
N = 256;
R = 1e-3;               % radius of the hole

F = KVBegin(size_, lambda, N);
F = KVCircAperture(R, 0, 0, F);
% KVForward spaces the input by size/(N - 1): it sees the hole R*N/(N - 1).
a = R * N / (N - 1);
% The output grid, 4 mm of 256 samples: KVForward spaces them by
% size/(M - 1), the centre sample at M/2 + 1.
M = 256;
x = ((1:M) - (M / 2 + 1)) * 4e-3 / (M - 1);
[fig, pos] = demo_figure(1, 2, 260, 'bar', 'each', 'heading', ...
                         'Behind a circular hole of radius 1 mm (λ = 633 nm)');
t = linspace(0, 2 * pi, 200);
nfs = [10 0.8];
for k = 1:2
  nf = nfs(k);
  z = a^2 / (lambda * nf);
  G = KVForward(z, 4e-3, M, F);
  I = KVIntensity(0, G);               % the incident plane wave has 1
  printf('  Fresnel number %4.1f: z = %.3f m, on-axis intensity %.3f (plane wave 1)\n', ...
         nf, z, I(M / 2 + 1, M / 2 + 1));
  ax = demo_image(pos{k}, x, x, I, 'clim', [0 max(I(:))], 'bar', 'intensity (incident wave = 1)', ...
                  'title', sprintf('Fresnel number %g: z = %.2f m', nf, z));
  hold(ax, 'on');
  plot(ax, 1e3 * R * cos(t), 1e3 * R * sin(t), 'c--', 'linewidth', 1);
  hold(ax, 'off');
end
demo_save(fig, 'fresnel_circle', ...
          ['The intensity behind a hole of radius 1 mm lit by a plane wave, by KVForward, at the ' ...
           'distances where the Fresnel number a²/(λz) is 10 (near field: a disc of rings) ' ...
           'and 0.8 (a bright central spot, 3.6 times the incident intensity). Dashed: the edge ' ...
           'of the hole.']);
