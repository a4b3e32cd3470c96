<script>
	<!-- <template target="contexte" /> -->
</script>
