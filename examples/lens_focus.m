% A plane wave through a circular lens of diameter D, propagated to the
% focal plane: the Airy pattern, first dark ring at 1.22*lambda*f/D.
outdir = demo_dir();

size_ = 6e-3;           % grid side: 6 mm
lambda = 633e-9;
N = 256;
R = 2e-3;               % lens radius
f = 1;                  % focal length: 1 m

F = KVBegin(size_, lambda, N);
F = KVCircAperture(R, 0, 0, F);
F = KVLens(f, 0, 0, F);
% KVForward spaces the input by size/(N - 1), so it sees the lens phase
% stretched by N/(N - 1): the focus lies at f*(N/(N - 1))^2 and the lens
% is R*N/(N - 1) in radius.
s = N / (N - 1);
z = f * s^2;
M = 129;                % odd: a sample on the axis
G = KVForward(z, 1e-3, M, F);
I = KVIntensity(0, G);
I = I / max(I(:));
imwrite(I, fullfile(outdir, 'lens_focus_airy.png'));
imwrite(max(0, 1 + log10(I + 1e-12) / 4), fullfile(outdir, 'lens_focus_airy_log.png'));

% The first minimum along the x axis, against the Airy radius.
c = (M + 1) / 2;
x = ((1:M) - c) * 1e-3 / (M - 1);
row = I(c, c:end);
k = find(diff(row) > 0, 1);
printf('  first dark ring at %.1f um; Airy radius 1.22*lambda*z/D = %.1f um\n', ...
       1e6 * x(c + k - 1), 1e6 * 1.22 * lambda * z / (2 * R * s));
