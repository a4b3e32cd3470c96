<html>
<body>
<p>Index</p>	<!-- <template target="main /> -->
</body>
</html>
