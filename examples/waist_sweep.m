% A sweep through the waist of a focused beam: KVFraunhofer gives the
% focal plane on a fine grid, and KVFresnelFFT takes it a short distance to
% either side. Writes build/demo/waist_sweep.png.
lambda = 1064e-9;
N = 256;
L = 8e-3;
D = 4e-3;               % a uniformly lit pupil
f = 0.1;                % f/25
F = KVCircAperture(D / 2, 0, 0, KVBegin(L, lambda, N));

M = 256;
W = 40 * 1.22 * lambda * f / D;         % 40 Airy radii across
G = KVFraunhofer(f, W, M, F);
dof = 2 * lambda * (f / D)^2;           % depth of focus, +-
zs = linspace(-2 * dof, 2 * dof, 41);
S = zeros(M, numel(zs));
for k = 1:numel(zs)
  H = KVFresnelFFT(zs(k), G);
  I = KVIntensity(0, H);
  S(:, k) = I(:, M / 2 + 1);            % along y, through the axis
end
S = S / max(S(:));
y = ((0:M-1) - M / 2) * W / M;
inner = M / 2 + 1 + (-48:47);           % the central 12 Airy radii
S = S(inner, :);
y = y(inner);
printf('  focal grid %.1f um, depth of focus +-%.2f mm\n', 1e6 * W, 1e3 * dof);

[fig, pos] = demo_figure(1, 1, [560 300], 'bar', 'each', 'heading', ...
                         'Through the focus of an f/25 lens (λ = 1064 nm)');
demo_image(pos{1}, zs, y, log10(max(S, 1e-4)), 'unit', 'mm', 'yunit', 'µm', ...
           'xlabel', 'z - f', 'clim', [-4 0], 'title', 'intensity along y through the axis', ...
           'bar', 'log_{10}(intensity / peak)');
demo_save(fig, 'waist_sweep', ...
          ['A uniformly lit pupil of 4 mm behind a lens of 0.1 m: KVFraunhofer gives the focal ' ...
           'plane on a 256 x 256 grid of 40 Airy radii, and KVFresnelFFT propagates it from ' ...
           '-2 to +2 depths of focus 2λ(f/D)². Each column is the intensity along y through ' ...
           'the axis, on a logarithmic scale: the waist, and the dark rings closing on the ' ...
           'axis on either side.']);
