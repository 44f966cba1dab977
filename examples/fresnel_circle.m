% Fresnel diffraction behind a circular hole, at two distances: in the near
% field (Fresnel number 10) the pattern is a disc full of rings, farther on
% (Fresnel number 0.8) it has become a single bright spot with faint rings.
outdir = demo_dir();

size_ = 4e-3;           % grid side: 4 mm
lambda = 633e-9;        % He-Ne wavelength
N = 256;
R = 1e-3;               % radius of the hole

F = KVBegin(size_, lambda, N);
F = KVCircAperture(R, 0, 0, F);
% KVForward spaces the input by size/(N - 1): it sees the hole R*N/(N - 1).
a = R * N / (N - 1);
for nf = [10 0.8]
  z = a^2 / (lambda * nf);
  G = KVForward(z, 4e-3, 256, F);
  I = KVIntensity(1, G);
  name = sprintf('fresnel_circle_NF%s.png', strrep(num2str(nf), '.', 'p'));
  imwrite(I, fullfile(outdir, name));
  printf('  Fresnel number %4.1f: z = %.3f m, on-axis intensity %.3f (plane wave 1)\n', ...
         nf, z, abs(G(129, 129))^2);
end
