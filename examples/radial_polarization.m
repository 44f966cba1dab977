% A radially polarized doughnut, built from two Gauss-Hermite modes (HG10
% along x, HG01 along y), behind a linear polarizer at four angles: two
% lobes along the polarizer's axis each time. Below, its Stokes maps: S1
% and S2 turn twice around the axis, S3 is 0 (the polarization is linear
% everywhere). Writes build/demo/radial_polarization.png.

side = 4e-3;
lambda = 633e-9;
N = 128;
w0 = 0.8e-3;
F = KVBegin(side, lambda, N);
Fx = KVGaussHermite(0, 1, 1, w0, F);    % x*exp(-r^2/w0^2), up to a factor
Fy = KVGaussHermite(1, 0, 1, w0, F);    % y*exp(-r^2/w0^2)
x = ((0:N-1) - N / 2) * side / N;

[S0, S1, S2, S3] = KVStokes(Fx, Fy);
peak = max(S0(:));
angles = (0:3) * pi / 4;
[fig, pos, barpos] = demo_figure(2, 4, 150, 'bar', 'last', 'shared', true, 'heading', ...
                                 'Radially polarized doughnut: behind a polarizer, and its Stokes maps');
for k = 1:4
  [Gx, Gy] = KVLinearPolarizer(angles(k), Fx, Fy);
  I = KVStokes(Gx, Gy) / peak;
  demo_image(pos{1, k}, x, x, I, 'clim', [-1 1], 'map', jet(256), 'xticks', false, ...
             'yticks', k == 1, 'title', sprintf('polarizer at %d°', round(angles(k) * 180 / pi)));
end
S = {S0, S1, S2, S3};
for k = 1:4
  bar = '';
  if k == 4
    bar = 'intensity, Stokes parameter / peak of S0';
  end
  demo_image(pos{2, k}, x, x, S{k} / peak, 'clim', [-1 1], 'map', jet(256), 'yticks', k == 1, ...
             'title', sprintf('S_%d', k - 1), 'bar', bar, 'barpos', barpos);
end
printf('  radial_polarization.png: max |S3| = %g, max |S0^2 - S1^2 - S2^2 - S3^2|/S0max^2 = %.1e\n', ...
       max(abs(S3(:))), max(abs(S0(:).^2 - S1(:).^2 - S2(:).^2 - S3(:).^2)) / peak^2);
demo_save(fig, 'radial_polarization', ...
          ['Top: the intensity of a radially polarized doughnut (HG10 as the x component, HG01 as ' ...
           'the y component, KVGaussHermite) behind a linear polarizer (KVLinearPolarizer) at 0, ' ...
           '45, 90 and 135 degrees: two lobes along the axis. Bottom: its Stokes maps ' ...
           '(KVStokes), S1 = S0 cos 2φ and S2 = S0 sin 2φ, S3 = 0.']);
